#include "host/size_option.h"

#include "host/arguments.h"

std::optional<Size> parseSize(std::string_view text) {
  const auto x = text.find('x');
  if (x == std::string_view::npos) {
    return std::nullopt;
  }
  const auto width = parseInteger(text.substr(0, x), 1, 16384);
  const auto height = parseInteger(text.substr(x + 1), 1, 16384);
  if (!width || !height) {
    return std::nullopt;
  }
  return Size{static_cast<double>(*width), static_cast<double>(*height)};
}
