#pragma once

#include <vector>

// The icon as a few drawing operations in a unit square (x right, y down),
// which the PNG rasterizer and the SVG writer both follow, so that every
// size shows the same picture.

struct Rgb {
  double red;
  double green;
  double blue;
};

// A rounded square filled with a vertical gradient from top to bottom.
struct Backdrop {
  double inset;
  double cornerRadius;
  Rgb top;
  Rgb bottom;
};

// A round glow: the core colour at the centre, the colour itself at
// coreStop of the radius, fading linearly to nothing at the radius.
struct Glow {
  double x;
  double y;
  double radius;
  Rgb core;
  Rgb color;
};
constexpr double kCoreStop = 0.3;

Backdrop iconBackdrop();
// The glows in painting order, each drawn over those before.
std::vector<Glow> iconGlows();
