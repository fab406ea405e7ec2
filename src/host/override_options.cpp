#include "host/override_options.h"

#include <charconv>
#include <cmath>
#include <string>

#include "host/option_table.h"
#include "settings/color_text.h"
#include "settings/shape_names.h"

namespace {

std::optional<float> parseScale(std::string_view text, const KeyRange& range) {
  float value = 0.0f;
  const char* end = text.data() + text.size();
  const auto [ptr, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || ptr != end || !std::isfinite(value) ||
      value < static_cast<float>(range.low) || value > static_cast<float>(range.high)) {
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
  if (const auto color = colorFromText(text)) {
    return std::optional<std::optional<ColorRGBA>>(std::in_place, *color);
  }
  return std::nullopt;
}

}  // namespace

OptionUse readOverrideOption(std::string_view option, ArgumentReader& reader, SettingsOverrides& overrides) {
  const CommandOption* entry = findOption(option);
  if (!entry || entry->section != OptionSection::Setting) {
    return OptionUse::NotOurs;
  }
  if (entry->value == OptionValue::None) {
    overrides.afterimages = option == "--afterimages";
    return OptionUse::Taken;
  }
  if (entry->value == OptionValue::Integer) {
    auto& target = option == "--cyclones" ? overrides.cyclones : overrides.particlesPerCyclone;
    const auto value = reader.integer(option, static_cast<int64_t>(entry->range->low),
                                      static_cast<int64_t>(entry->range->high));
    // An unusable value leaves the stored setting, whatever came before it.
    target.reset();
    if (!value) return OptionUse::Refused;
    target = static_cast<int32_t>(*value);
    return OptionUse::Taken;
  }
  const auto text = reader.value(option);
  if (!text) {
    return OptionUse::Refused;
  }
  const std::string given = "'" + std::string(*text) + "'";
  if (entry->value == OptionValue::Shape) {
    overrides.shape = shapeFromName(*text);
    if (!overrides.shape) {
      reader.refuse("--shape takes one of " + shapeList() + ", not " + given);
      return OptionUse::Refused;
    }
  } else if (entry->value == OptionValue::Number) {
    overrides.scale = parseScale(*text, *entry->range);
    if (!overrides.scale) {
      reader.refuse("--scale takes a number from " + rangeText(*entry) + ", not " + given);
      return OptionUse::Refused;
    }
  } else {
    const bool particle = option == "--particle-color";
    const std::string_view word = particle ? "auto" : "cycling";
    auto& target = particle ? overrides.particleColor : overrides.backgroundColor;
    target = parseColorChoice(*text, word);
    if (!target) {
      reader.refuse(std::string(option) + " takes " + std::string(word) +
                    " or a colour: " + std::string(kColorForms) + "; not " + given);
      return OptionUse::Refused;
    }
  }
  return OptionUse::Taken;
}
