#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "settings/keys.h"

// Each shape's one name, by the index "particle shape" stores; the sheet's
// and XScreenSaver's dialog's labels are these names capitalised.
inline constexpr std::array<std::string_view, 10> kShapeNames{
    "circle", "face", "flower", "heart", "note", "spark", "square", "five-star", "six-star", "ring",
};
static_assert(kShapeNames.size() == key::shape.range->high + 1, "a name for each stored shape");

// The shape index of a name, or of an older spelling that stored command
// lines still hold (star_5, star_6, gn); nothing for any other text.
std::optional<int32_t> shapeFromName(std::string_view name);
