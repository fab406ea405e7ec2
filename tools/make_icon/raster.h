#pragma once

#include <vector>

// The icon drawn into a square of side pixels: RGBA rows from the top, not
// premultiplied, as PNG stores them.
std::vector<unsigned char> rasterizeIcon(int side);
