#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes the colour of RGBA rows, top row first, as an opaque 8-bit RGB PNG:
// the alpha of a frame is not what the screen shows. False (with a warning
// on stderr) when the file could not be written.
bool writePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba);
