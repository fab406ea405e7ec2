#include "platform/png_image.h"

#include <png.h>

#include <cstdio>
#include <cstring>

// libpng's decoder state, freed on every path out.
class PngImage::Reader {
 public:
  Reader() {
    std::memset(&image_, 0, sizeof image_);
    image_.version = PNG_IMAGE_VERSION;
  }
  ~Reader() { png_image_free(&image_); }
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;

  png_image* get() { return &image_; }

 private:
  png_image image_;
};

namespace {

// libpng's words for the common failures, put plainly; others pass as they are.
const char* plainReason(const char* libpngMessage) {
  if (std::strcmp(libpngMessage, "Read Error") == 0 ||
      std::strcmp(libpngMessage, "read beyond end of data") == 0) {
    return "the data ends before the image does (empty or truncated file)";
  }
  if (std::strcmp(libpngMessage, "Not a PNG file") == 0) {
    return "not a PNG file";
  }
  return libpngMessage;
}

void warn(const std::string& name, const char* reason) {
  std::fprintf(stderr,
               "swirlmote: sprite image %s: %s; that shape draws as plain squares of the particle colour\n",
               name.c_str(), plainReason(reason));
}

}  // namespace

std::unique_ptr<PngImage> PngImage::load(const std::string& path) {
  Reader reader;
  if (!png_image_begin_read_from_file(reader.get(), path.c_str())) {
    warn(path, reader.get()->message);
    return nullptr;
  }
  return finishRead(reader, path);
}

std::unique_ptr<PngImage> PngImage::loadFromMemory(const void* data, std::size_t size,
                                                   const std::string& nameForMessages) {
  if (size == 0) {
    warn(nameForMessages, "empty file");
    return nullptr;
  }
  Reader reader;
  if (!png_image_begin_read_from_memory(reader.get(), data, size)) {
    warn(nameForMessages, reader.get()->message);
    return nullptr;
  }
  return finishRead(reader, nameForMessages);
}

// The size is checked before the pixels are allocated, so a forged header
// costs nothing.
std::unique_ptr<PngImage> PngImage::finishRead(Reader& reader, const std::string& name) {
  png_image* image = reader.get();
  const png_uint_32 width = image->width;
  const png_uint_32 height = image->height;
  if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) {
    char reason[96];
    std::snprintf(reason, sizeof reason, "size %u x %u is outside 1 to %d pixels a side", width, height,
                  kMaxSide);
    warn(name, reason);
    return nullptr;
  }
  image->format = PNG_FORMAT_RGBA;
  std::vector<unsigned char> rgba(PNG_IMAGE_SIZE(*image));
  if (!png_image_finish_read(image, nullptr, rgba.data(), 0, nullptr)) {
    warn(name, image->message);
    return nullptr;
  }
  return std::unique_ptr<PngImage>(
      new PngImage(static_cast<int>(width), static_cast<int>(height), std::move(rgba)));
}

PixelColor PngImage::colorAtX(int x, int y) const {
  const unsigned char* p = rgba_.data() + 4 * (static_cast<std::size_t>(y) * width_ + x);
  return {p[0] / 255.0, p[1] / 255.0, p[2] / 255.0, p[3] / 255.0};
}
