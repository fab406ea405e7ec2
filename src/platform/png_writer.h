#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes the colour of RGBA rows, top row first, as an opaque 8-bit RGB PNG:
// the alpha of a frame is not what the screen shows. False (with a warning
// on stderr) when the file could not be written.
//
// A failed write never deletes or damages what the name held. A regular
// file, or a name that is free, is written to a temporary file beside it
// and renamed over it only once complete; a link is followed to the file it
// leads to, and stays a link. A device, a pipe or any other special file is
// written in place, never created, truncated or removed.
bool writePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba);
