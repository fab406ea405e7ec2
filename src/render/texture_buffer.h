#pragma once

#include <cstddef>

#include "render/image.h"

// Bytes needed for an image's upload buffer: four per pixel.
std::size_t uploadBufferSize(const Image* image);

// Converts every pixel to RGBA bytes (each component times 255, truncated)
// and stores pixel (x, y) at byte offset 4 * (x * h + y): column after
// column. A null image fills nothing.
void fillUploadBuffer(const Image* image, unsigned char* buffer);
