#pragma once

#include <cairo.h>

#include <cstdint>
#include <vector>

// A frame of RGBA rows from the top as an opaque cairo image, one frame
// pixel to one device pixel at the given scale, in `image`: made, or remade
// when the frame's size changed, and filled. The frame's alpha is left out.
void copyFrameToCairo(const std::vector<uint8_t>& rgba, int width, int height, int scale,
                      cairo_surface_t*& image);
