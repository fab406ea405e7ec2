#include "host/override_options.h"

#include <charconv>
#include <cmath>
#include <string>

#include "render/sprite_names.h"

namespace {

// A sprite file's name without ".png": the shape's name.
std::string_view shapeName(std::string_view file) {
  return file.substr(0, file.size() - 4);
}

// "circle face ... gn".
std::string shapeList() {
  std::string list;
  for (const std::string_view file : kSpriteImageNames) {
    list += (list.empty() ? "" : " ") + std::string(shapeName(file));
  }
  return list;
}

std::optional<int> hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

std::optional<float> parseScale(std::string_view text) {
  float value = 0.0f;
  const char* end = text.data() + text.size();
  const auto [ptr, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || ptr != end || !std::isfinite(value) || value < 0.5f ||
      value > 2.0f) {
    return std::nullopt;
  }
  return value;
}

// A colour option's value: the word for the mode without a colour, or a
// colour.
std::optional<std::optional<ColorRGBA>> parseColorChoice(std::string_view text, std::string_view word) {
  if (text == word) {
    return std::optional<std::optional<ColorRGBA>>(std::in_place);
  }
  if (const auto color = parseHexColor(text)) {
    return std::optional<std::optional<ColorRGBA>>(std::in_place, *color);
  }
  return std::nullopt;
}

}  // namespace

std::optional<ColorRGBA> parseHexColor(std::string_view text) {
  if (!text.empty() && text.front() == '#') {
    text.remove_prefix(1);
  }
  if (text.size() != 6) {
    return std::nullopt;
  }
  float channels[3];
  for (int i = 0; i < 3; ++i) {
    const auto high = hexDigit(text[2 * i]);
    const auto low = hexDigit(text[2 * i + 1]);
    if (!high || !low) {
      return std::nullopt;
    }
    channels[i] = static_cast<float>(*high * 16 + *low) / 255.0f;
  }
  return ColorRGBA{channels[0], channels[1], channels[2], 1.0f};
}

std::optional<int32_t> parseShapeName(std::string_view text) {
  for (std::size_t i = 0; i < kSpriteImageNames.size(); ++i) {
    if (shapeName(kSpriteImageNames[i]) == text && !text.empty()) {
      return static_cast<int32_t>(i);
    }
  }
  return std::nullopt;
}

OptionUse readOverrideOption(std::string_view option, ArgumentReader& reader, SettingsOverrides& overrides) {
  if (option == "--afterimages" || option == "--no-afterimages") {
    overrides.afterimages = option == "--afterimages";
    return OptionUse::Taken;
  }
  if (option == "--cyclones" || option == "--particles") {
    const bool cyclones = option == "--cyclones";
    const auto value = cyclones ? reader.integer(option, 1, 10) : reader.integer(option, 50, 200);
    if (!value) return OptionUse::Refused;
    (cyclones ? overrides.cyclones : overrides.particlesPerCyclone) = static_cast<int32_t>(*value);
    return OptionUse::Taken;
  }
  if (option != "--shape" && option != "--scale" && option != "--particle-color" &&
      option != "--background-color") {
    return OptionUse::NotOurs;
  }
  const auto text = reader.value(option);
  if (!text) {
    return OptionUse::Refused;
  }
  const std::string given = "'" + std::string(*text) + "'";
  if (option == "--shape") {
    overrides.shape = parseShapeName(*text);
    if (!overrides.shape) {
      reader.refuse("--shape takes one of " + shapeList() + ", not " + given);
      return OptionUse::Refused;
    }
  } else if (option == "--scale") {
    overrides.scale = parseScale(*text);
    if (!overrides.scale) {
      reader.refuse("--scale takes a number from 0.5 to 2.0, not " + given);
      return OptionUse::Refused;
    }
  } else {
    const bool particle = option == "--particle-color";
    const std::string_view word = particle ? "auto" : "cycling";
    auto& target = particle ? overrides.particleColor : overrides.backgroundColor;
    target = parseColorChoice(*text, word);
    if (!target) {
      reader.refuse(std::string(option) + " takes " + std::string(word) + " or a colour RRGGBB, not " +
                    given);
      return OptionUse::Refused;
    }
  }
  return OptionUse::Taken;
}
