#pragma once

#include <string>

// The icon as an SVG document of 256 units a side.
std::string iconSvg();
