#pragma once

struct Size {
  double width = 0.0;
  double height = 0.0;
};

struct Point {
  double x = 0.0;
  double y = 0.0;
};

struct Rect {
  Point origin;
  Size size;
};
