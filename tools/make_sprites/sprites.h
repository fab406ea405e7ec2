#pragma once

#include <string_view>

#include "distance.h"

// The opacity of a sprite at a point, 0 to 1; the point is in pixels from
// the centre of the 128-pixel square, y up. Sprites are white, so opacity
// alone draws them.
using SpriteAlpha = double (*)(Vec2 p);

// The drawing for a sprite file name, or null for a name it does not know.
SpriteAlpha spriteAlphaFor(std::string_view fileName);
