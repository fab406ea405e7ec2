#include "settings/store_value.h"

#include <strings.h>

#include <charconv>
#include <cmath>

namespace {

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) {
    return {};
  }
  const auto last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

bool equalsIgnoringCase(std::string_view text, const char* word) {
  return text.size() == std::char_traits<char>::length(word) &&
         strncasecmp(text.data(), word, text.size()) == 0;
}

std::optional<bool> boolWord(std::string_view text) {
  if (equalsIgnoringCase(text, "true") || equalsIgnoringCase(text, "yes")) {
    return true;
  }
  if (equalsIgnoringCase(text, "false") || equalsIgnoringCase(text, "no")) {
    return false;
  }
  return std::nullopt;
}

// from_chars takes no leading '+'; a hand-edited file may have one.
std::string_view withoutPlus(std::string_view text) {
  return text.size() > 1 && text.front() == '+' && text[1] != '-' ? text.substr(1) : text;
}

template <typename T>
std::optional<T> wholeNumber(std::string_view text) {
  text = withoutPlus(text);
  T value{};
  const char* end = text.data() + text.size();
  const auto [ptr, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || ptr != end) {
    return std::nullopt;
  }
  return value;
}

std::optional<double> finiteReal(std::string_view text) {
  const auto value = wholeNumber<double>(text);
  if (!value || !std::isfinite(*value)) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<int64_t> integerFromText(std::string_view text) {
  text = trimmed(text);
  if (const auto word = boolWord(text)) {
    return *word ? 1 : 0;
  }
  if (const auto integer = wholeNumber<int64_t>(text)) {
    return integer;
  }
  // 2^63 is exact as a double; anything at or beyond it has no int64 value.
  constexpr double kLimit = 9223372036854775808.0;
  if (const auto real = finiteReal(text); real && *real > -kLimit && *real < kLimit) {
    return static_cast<int64_t>(*real);
  }
  return std::nullopt;
}

std::optional<float> floatFromText(std::string_view text) {
  text = trimmed(text);
  if (const auto word = boolWord(text)) {
    return *word ? 1.0f : 0.0f;
  }
  const auto real = finiteReal(text);
  if (!real) {
    return std::nullopt;
  }
  // Parsing as float rounds once, and keeps the sign of "-0"; narrowing the
  // double is the fallback for values beneath float's normal range.
  if (const auto direct = wholeNumber<float>(text); direct && std::isfinite(*direct)) {
    return direct;
  }
  const auto narrowed = static_cast<float>(*real);
  if (!std::isfinite(narrowed)) {
    return std::nullopt;
  }
  return narrowed;
}

std::optional<bool> boolFromText(std::string_view text) {
  text = trimmed(text);
  if (const auto word = boolWord(text)) {
    return word;
  }
  if (const auto integer = wholeNumber<int64_t>(text)) {
    return *integer != 0;
  }
  if (const auto real = finiteReal(text)) {
    return *real != 0.0;
  }
  return std::nullopt;
}

std::string textFromInteger(int64_t value) {
  return std::to_string(value);
}

std::string textFromFloat(float value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string textFromBool(bool value) {
  return value ? "true" : "false";
}
