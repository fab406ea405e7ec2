#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "host/arguments.h"
#include "settings/overrides.h"

enum class OptionUse { NotOurs, Taken, Refused };

// Reads one of the settings options (--cyclones N, --particles N, --shape
// NAME, --scale F, --afterimages, --no-afterimages, --particle-color
// auto|RRGGBB, --background-color cycling|RRGGBB) and its value into the
// overrides; Refused after a message when the value is out of place.
OptionUse readOverrideOption(std::string_view option, ArgumentReader& reader, SettingsOverrides& overrides);

// "RRGGBB" (an optional leading '#'), opaque.
std::optional<ColorRGBA> parseHexColor(std::string_view text);
// A sprite's name without ".png" ("star_5"): its shape index.
std::optional<int32_t> parseShapeName(std::string_view text);
