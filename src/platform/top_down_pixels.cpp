#include "platform/top_down_pixels.h"

#include <GL/gl.h>

#include <cstring>

void readTopDownPixels(int width, int height, std::vector<uint8_t>& rgba) {
  const std::size_t row = static_cast<std::size_t>(width) * 4;
  std::vector<uint8_t> bottomUp(row * height);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
  rgba.resize(bottomUp.size());
  for (int y = 0; y < height; ++y) {
    std::memcpy(rgba.data() + row * y, bottomUp.data() + row * (height - 1 - y), row);
  }
}
