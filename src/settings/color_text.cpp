#include "settings/color_text.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "settings/color_names.h"

namespace {

std::optional<uint32_t> hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

// The value of 1 to 4 hex digits.
std::optional<uint32_t> hexValue(std::string_view digits) {
  if (digits.empty() || digits.size() > 4) {
    return std::nullopt;
  }
  uint32_t value = 0;
  for (const char c : digits) {
    const auto digit = hexDigit(c);
    if (!digit) return std::nullopt;
    value = value * 16 + *digit;
  }
  return value;
}

char lowered(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

float fromByte(uint32_t byte) {
  return static_cast<float>(byte) / 255.0f;
}

// '#' and 3, 6, 9 or 12 hex digits. X takes each component's digits as the
// high bits of its 16; the screen shows the top 8 of them.
std::optional<ColorRGBA> fromHash(std::string_view digits) {
  const std::size_t length = digits.size() / 3;
  if (digits.size() % 3 != 0 || length == 0) {
    return std::nullopt;
  }
  float channels[3];
  for (std::size_t i = 0; i < 3; ++i) {
    const auto value = hexValue(digits.substr(i * length, length));
    if (!value) return std::nullopt;
    const uint32_t wide = *value << (16 - 4 * length);
    channels[i] = fromByte(wide >> 8);
  }
  return ColorRGBA{channels[0], channels[1], channels[2], 1.0f};
}

// "r/g/b" after "rgb:", each component 1 to 4 hex digits scaled to its own
// full range.
std::optional<ColorRGBA> fromRgb(std::string_view components) {
  float channels[3];
  for (std::size_t i = 0; i < 3; ++i) {
    const std::size_t slash = components.find('/');
    if ((slash == std::string_view::npos) != (i == 2)) {
      return std::nullopt;
    }
    const std::string_view digits = components.substr(0, slash);
    const auto value = hexValue(digits);
    if (!value) return std::nullopt;
    const uint32_t full = (1u << (4 * digits.size())) - 1;
    channels[i] = static_cast<float>(*value) / static_cast<float>(full);
    components.remove_prefix(i == 2 ? components.size() : slash + 1);
  }
  return ColorRGBA{channels[0], channels[1], channels[2], 1.0f};
}

// A name of X's colour database, looked up without case or spaces.
std::optional<ColorRGBA> fromName(std::string_view text) {
  std::string name;
  for (const char c : text) {
    if (c != ' ') name += lowered(c);
  }
  const std::span<const ColorName> names = colorNames();
  const auto found =
      std::lower_bound(names.begin(), names.end(), name,
                       [](const ColorName& entry, const std::string& key) { return entry.name < key; });
  if (name.empty() || found == names.end() || found->name != name) {
    return std::nullopt;
  }
  return ColorRGBA{fromByte(found->red), fromByte(found->green), fromByte(found->blue), 1.0f};
}

bool startsWithRgb(std::string_view text) {
  constexpr std::string_view prefix = "rgb:";
  return text.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), text.begin(),
                                                    [](char p, char c) { return p == lowered(c); });
}

}  // namespace

std::optional<ColorRGBA> colorFromText(std::string_view text) {
  if (text.starts_with('#')) {
    return fromHash(text.substr(1));
  }
  if (startsWithRgb(text)) {
    return fromRgb(text.substr(4));
  }
  if (text.size() == 6 &&
      std::all_of(text.begin(), text.end(), [](char c) { return hexDigit(c).has_value(); })) {
    return fromHash(text);
  }
  return fromName(text);
}
