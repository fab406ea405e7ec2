// Feeds arbitrary bytes to the sprite decoder, from memory and from a file.
// Both must agree on whether the bytes are an image and on every pixel, the
// size must lie within the decoder's limits, and every component within 0
// to 1 in steps of 1/255.
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/png_image.h"

namespace {

void require(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "png_fuzzer: %s\n", what);
    std::abort();
  }
}

bool isComponent(double value) {
  const double scaled = value * 255.0;
  return value >= 0.0 && value <= 1.0 && std::fabs(scaled - std::round(scaled)) < 1e-9;
}

bool samePixel(const PixelColor& a, const PixelColor& b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue && a.alpha == b.alpha;
}

std::string imagePath;

void removeImageFile() {
  unlink(imagePath.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string pattern = (std::filesystem::temp_directory_path() / "swirlmote-png-fuzz-XXXXXX").string();
  const int fd = mkstemp(pattern.data());
  require(fd >= 0, "cannot make a file for the image");
  close(fd);
  imagePath = pattern;
  std::atexit(removeImageFile);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  {
    std::ofstream out(imagePath, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    require(static_cast<bool>(out.flush()), "cannot write the image file");
  }
  const auto fromMemory = PngImage::loadFromMemory(data, size, "fuzz input");
  const auto fromFile = PngImage::load(imagePath);
  require((fromMemory == nullptr) == (fromFile == nullptr), "memory and file disagree on decoding");
  if (!fromMemory) {
    return 0;
  }

  const int width = fromMemory->pixelsWide();
  const int height = fromMemory->pixelsHigh();
  require(width >= 1 && width <= PngImage::kMaxSide && height >= 1 && height <= PngImage::kMaxSide,
          "an image outside the size limits was decoded");
  require(fromFile->pixelsWide() == width && fromFile->pixelsHigh() == height,
          "memory and file disagree on the size");
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const PixelColor color = fromMemory->colorAtX(x, y);
      require(isComponent(color.red) && isComponent(color.green) && isComponent(color.blue) &&
                  isComponent(color.alpha),
              "a pixel component is not a step of 1/255 within 0 to 1");
      require(samePixel(color, fromFile->colorAtX(x, y)), "memory and file disagree on a pixel");
    }
  }
  return 0;
}
