#include "platform/top_down_pixels.h"

#include <GL/gl.h>

#include <algorithm>

void readTopDownPixels(int width, int height, std::vector<uint8_t>& rgba) {
  const std::size_t row = static_cast<std::size_t>(width) * 4;
  rgba.resize(row * height);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  // GL's rows come bottom up: turned in place, so that a buffer of the
  // frame's size is all a frame's read-back ever needs.
  for (int y = 0; y < height / 2; ++y) {
    uint8_t* top = rgba.data() + row * y;
    std::swap_ranges(top, top + row, rgba.data() + row * (height - 1 - y));
  }
}
