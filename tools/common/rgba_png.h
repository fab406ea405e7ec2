#pragma once

#include <filesystem>
#include <vector>

// Writes side × side RGBA pixels, top row first, as an 8-bit RGBA PNG. False,
// after a message on stderr that starts with the tool's name, when the file
// could not be written.
bool writeRgbaPng(const std::filesystem::path& path, int side, const std::vector<unsigned char>& rgba,
                  const char* tool);
