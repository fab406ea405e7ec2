#pragma once

#include <string_view>

#include "host/arguments.h"
#include "settings/overrides.h"

enum class OptionUse { NotOurs, Taken, Refused };

// Reads one of the settings options (--cyclones N, --particles N, --shape
// NAME, --scale F, --afterimages, --no-afterimages, --particle-color
// auto|COLOR, --background-color cycling|COLOR) and its value into the
// overrides; Refused after a message when the value is out of place.
OptionUse readOverrideOption(std::string_view option, ArgumentReader& reader, SettingsOverrides& overrides);
