#include "settings/store_value.h"

#include <locale.h>
#include <stdlib.h>
#include <strings.h>

#include <charconv>
#include <cmath>
#include <string>

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

// A number of the grammar by where it lies against double's range: within
// it, its nearest double; tiny, a number so near 0 that its nearest double
// is 0, though it is not 0; huge, beyond double's largest.
enum class Extent { Within, Tiny, Huge };
struct Real {
  double value;
  Extent extent;
};

// The C locale, so that a locale with a decimal comma reads the same.
locale_t cLocale() {
  static const locale_t locale = newlocale(LC_NUMERIC_MASK, "C", nullptr);
  return locale;
}

// Nothing when the text is no number or names a NaN or an infinity.
std::optional<Real> realNumber(std::string_view text) {
  text = withoutPlus(text);
  double value = 0.0;
  const char* end = text.data() + text.size();
  const auto [ptr, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || ptr != end) {
    return std::nullopt;
  }
  if (error == std::errc()) {
    return std::isfinite(value) ? std::optional<Real>(Real{value, Extent::Within}) : std::nullopt;
  }
  if (error != std::errc::result_out_of_range) {
    return std::nullopt;
  }
  // strtod rounds a tiny number to a zero of its sign, a huge one to an
  // infinity.
  const std::string terminated(text);
  const double rounded = strtod_l(terminated.c_str(), nullptr, cLocale());
  return Real{rounded, std::isfinite(rounded) ? Extent::Tiny : Extent::Huge};
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
  const auto real = realNumber(text);
  if (!real || real->extent == Extent::Huge || real->value <= -kLimit || real->value >= kLimit) {
    return std::nullopt;
  }
  return static_cast<int64_t>(real->value);
}

std::optional<float> floatFromText(std::string_view text) {
  text = trimmed(text);
  if (const auto word = boolWord(text)) {
    return *word ? 1.0f : 0.0f;
  }
  const auto real = realNumber(text);
  if (!real || real->extent == Extent::Huge) {
    return std::nullopt;
  }
  // Read once more as a float, rounding once: the nearest float, with the
  // sign of a zero kept; one beyond the largest finite float is refused.
  const std::string terminated(withoutPlus(text));
  const float value = strtof_l(terminated.c_str(), nullptr, cLocale());
  if (!std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<bool> boolFromText(std::string_view text) {
  text = trimmed(text);
  if (const auto word = boolWord(text)) {
    return word;
  }
  if (const auto integer = wholeNumber<int64_t>(text)) {
    return *integer != 0;
  }
  // A tiny number is not 0, though its nearest double is.
  if (const auto real = realNumber(text); real && real->extent != Extent::Huge) {
    return real->extent == Extent::Tiny || real->value != 0.0;
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
