#include "platform/cairo_frame.h"

#include <cstddef>
#include <cstring>

void copyFrameToCairo(const std::vector<uint8_t>& rgba, int width, int height, int scale,
                      cairo_surface_t*& image) {
  if (image &&
      (cairo_image_surface_get_width(image) != width || cairo_image_surface_get_height(image) != height)) {
    cairo_surface_destroy(image);
    image = nullptr;
  }
  if (!image) {
    image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_surface_set_device_scale(image, scale, scale);
  }
  cairo_surface_flush(image);
  // RGB24 keeps a pixel as a native 32-bit word 0x00RRGGBB, rows stride
  // bytes apart.
  uint8_t* rows = cairo_image_surface_get_data(image);
  const int stride = cairo_image_surface_get_stride(image);
  for (int y = 0; y < height; ++y) {
    const uint8_t* source = rgba.data() + static_cast<std::size_t>(y) * width * 4;
    uint8_t* row = rows + static_cast<std::size_t>(y) * stride;
    for (int x = 0; x < width; ++x, source += 4) {
      const uint32_t pixel = (uint32_t{source[0]} << 16) | (uint32_t{source[1]} << 8) | source[2];
      std::memcpy(row + static_cast<std::size_t>(x) * 4, &pixel, sizeof pixel);
    }
  }
  cairo_surface_mark_dirty(image);
}
