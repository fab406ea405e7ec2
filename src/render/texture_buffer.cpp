#include "render/texture_buffer.h"

namespace {

unsigned char toByte(double component) {
  return static_cast<unsigned char>(static_cast<int>(component * 255.0));
}

}  // namespace

std::size_t uploadBufferSize(const Image* image) {
  if (!image) {
    return 0;
  }
  return static_cast<std::size_t>(image->pixelsWide()) * static_cast<std::size_t>(image->pixelsHigh()) * 4;
}

void fillUploadBuffer(const Image* image, unsigned char* buffer) {
  if (!image) {
    return;
  }
  const int w = image->pixelsWide();
  const int h = image->pixelsHigh();
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const PixelColor c = image->colorAtX(x, y);
      unsigned char* texel = buffer + 4 * (static_cast<std::size_t>(x) * h + y);
      texel[0] = toByte(c.red);
      texel[1] = toByte(c.green);
      texel[2] = toByte(c.blue);
      texel[3] = toByte(c.alpha);
    }
  }
}
