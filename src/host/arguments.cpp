#include "host/arguments.h"

#include <charconv>
#include <cstdio>

std::string inQuotes(std::string_view value) {
  if (value.size() <= kQuotedBytes) {
    return "'" + std::string(value) + "'";
  }
  std::size_t cut = kQuotedBytes;
  // UTF-8 continuation bytes are 10xxxxxx: back up to the character's start,
  // at most three bytes, the most that follow a character's first.
  while (cut > kQuotedBytes - 3 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80) {
    --cut;
  }
  return "'" + std::string(value.substr(0, cut)) + "…'";
}

std::optional<int64_t> parseInteger(std::string_view text, int64_t minimum, int64_t maximum) {
  int64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || ptr != end || value < minimum || value > maximum) {
    return std::nullopt;
  }
  return value;
}

ArgumentReader::ArgumentReader(std::string_view command, std::span<const std::string_view> args)
    : command_(command), args_(args) {}

std::optional<std::string_view> ArgumentReader::value(std::string_view option) {
  if (done()) {
    refuse(std::string(option) + " needs a value");
    return std::nullopt;
  }
  return next();
}

std::optional<int64_t> ArgumentReader::integer(std::string_view option, int64_t minimum, int64_t maximum) {
  const auto text = value(option);
  if (!text) {
    return std::nullopt;
  }
  const auto number = parseInteger(*text, minimum, maximum);
  if (!number) {
    refuse(std::string(option) + " takes a whole number from " + std::to_string(minimum) + " to " +
           std::to_string(maximum) + ", not " + inQuotes(*text));
  }
  return number;
}

int ArgumentReader::refuse(const std::string& message) const {
  if (warns_) {
    std::fprintf(stderr, "swirlmote: warning: %s; ignored\n", message.c_str());
    return 2;
  }
  // The saver itself has no command name: "swirlmote: ...".
  const char* space = command_.empty() ? "" : " ";
  std::fprintf(stderr, "swirlmote%s%.*s: %s (see swirlmote --help)\n", space,
               static_cast<int>(command_.size()), command_.data(), message.c_str());
  return 2;
}
