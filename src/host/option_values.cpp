#include "host/option_values.h"

#include <charconv>
#include <cmath>

#include "host/arguments.h"
#include "settings/color_text.h"

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

std::optional<unsigned long> parseWindowId(std::string_view text) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  unsigned long value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, error] = std::from_chars(text.data(), end, value, base);
  if (text.empty() || error != std::errc() || ptr != end || value == 0 || value > 0xFFFFFFFFul) {
    return std::nullopt;
  }
  return value;
}

std::optional<float> parseNumber(std::string_view text, const KeyRange& range) {
  float value = 0.0f;
  const char* end = text.data() + text.size();
  const auto [ptr, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || ptr != end || !std::isfinite(value) ||
      value < static_cast<float>(range.low) || value > static_cast<float>(range.high)) {
    return std::nullopt;
  }
  return value;
}

std::optional<std::optional<ColorRGBA>> parseColorChoice(std::string_view text, std::string_view plain) {
  if (text == plain) {
    return std::optional<std::optional<ColorRGBA>>(std::in_place);
  }
  if (const auto color = colorFromText(text)) {
    return std::optional<std::optional<ColorRGBA>>(std::in_place, *color);
  }
  return std::nullopt;
}
