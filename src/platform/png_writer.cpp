#include "platform/png_writer.h"

#include <png.h>

#include <cstdio>
#include <cstring>

bool writePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba) {
  std::vector<uint8_t> rgb(rgba.size() / 4 * 3);
  for (std::size_t i = 0, o = 0; i + 3 < rgba.size(); i += 4, o += 3) {
    rgb[o] = rgba[i];
    rgb[o + 1] = rgba[i + 1];
    rgb[o + 2] = rgba[i + 2];
  }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  if (!png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr)) {
    std::fprintf(stderr, "swirlmote: could not write %s: %s\n", path.c_str(), image.message);
    return false;
  }
  return true;
}
