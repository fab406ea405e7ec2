#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes RGBA rows, top row first, as an 8-bit PNG. False (with a warning on
// stderr) when the file could not be written.
bool writePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba);
