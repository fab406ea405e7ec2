#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// One colour of X's colour database.
struct ColorName {
  std::string_view name;  // lower case, without spaces: "lightgoldenrod"
  uint8_t red;
  uint8_t green;
  uint8_t blue;
};

// X's colour database (/etc/X11/rgb.txt when the program was built), sorted
// by name.
std::span<const ColorName> colorNames();
