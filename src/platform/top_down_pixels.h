#pragma once

#include <cstdint>
#include <vector>

// The current read buffer of the current context as RGBA rows from the top
// (GL reads them from the bottom).
void readTopDownPixels(int width, int height, std::vector<uint8_t>& rgba);
