#include "rgba_png.h"

#include <png.h>

#include <cstdio>
#include <cstring>

bool writeRgbaPng(const std::filesystem::path& path, int side, const std::vector<unsigned char>& rgba,
                  const char* tool) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(side);
  image.height = static_cast<png_uint_32>(side);
  image.format = PNG_FORMAT_RGBA;
  if (!png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr)) {
    std::fprintf(stderr, "%s: cannot write %s: %s\n", tool, path.c_str(), image.message);
    return false;
  }
  return true;
}
