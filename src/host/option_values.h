#pragma once

#include <optional>
#include <string_view>

#include "saver/geometry.h"
#include "settings/keys.h"
#include "simulation/vector.h"

// "WxH" with both sides whole numbers from 1 to 16384.
std::optional<Size> parseSize(std::string_view text);

// An X window id: hexadecimal with 0x, or decimal; not 0.
std::optional<unsigned long> parseWindowId(std::string_view text);

// A number within the range, such as "1.25".
std::optional<float> parseNumber(std::string_view text, const KeyRange& range);

// A colour option's value: plain (the word for the mode without a colour,
// "auto" or "cycling") gives an empty colour, a colour's text that colour.
std::optional<std::optional<ColorRGBA>> parseColorChoice(std::string_view text, std::string_view plain);
