#pragma once

// What the renderer needs of a decoded image: its size in pixels and the
// colour of each pixel, (0, 0) being the top-left one, components 0 to 1.
struct PixelColor {
  double red;
  double green;
  double blue;
  double alpha;
};

class Image {
 public:
  virtual ~Image() = default;
  virtual int pixelsWide() const = 0;
  virtual int pixelsHigh() const = 0;
  virtual PixelColor colorAtX(int x, int y) const = 0;
};
