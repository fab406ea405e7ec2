#pragma once

#include <optional>
#include <string_view>

#include "simulation/vector.h"

// The colour forms colorFromText takes, as messages and --help list them.
inline constexpr std::string_view kColorForms =
    "an X colour name (orange, SteelBlue, light goldenrod), #rgb, #rrggbb, #rrrgggbbb, #rrrrggggbbbb, "
    "rgb:r/g/b (1 to 4 hex digits each) or RRGGBB";

// An opaque colour written as X reads one: a name of its colour database, in
// any case and with or without spaces; '#' and 1 to 4 hex digits per
// component, the component's high bits as in X (#f80 is #f08000); rgb:r/g/b
// with 1 to 4 hex digits per component, each scaled to its full range
// (rgb:f/8/0 is #ff8800); or six hex digits without the '#'. Nothing when
// the text is none of these.
std::optional<ColorRGBA> colorFromText(std::string_view text);
