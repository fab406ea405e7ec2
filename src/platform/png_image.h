#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "render/image.h"
#include "saver/image_decoder.h"

// An image decoded from a PNG file into 8-bit RGBA, components as stored
// (not premultiplied by alpha).
class PngImage : public Image {
 public:
  // The largest width and height accepted; larger headers are refused before
  // any pixel memory is allocated.
  static constexpr int kMaxSide = 4096;

  // Null when the file is missing, unreadable, not a PNG, damaged, or of a
  // size outside 1 to kMaxSide pixels a side; one warning on stderr then
  // names the file and the reason.
  static std::unique_ptr<PngImage> load(const std::string& path);
  // The same from bytes in memory; nameForMessages stands for the file.
  static std::unique_ptr<PngImage> loadFromMemory(const void* data, std::size_t size,
                                                  const std::string& nameForMessages);

  int pixelsWide() const override { return width_; }
  int pixelsHigh() const override { return height_; }
  // x from 0 to pixelsWide() - 1, y from 0 (the top row) to pixelsHigh() - 1.
  PixelColor colorAtX(int x, int y) const override;

 private:
  class Reader;

  PngImage(int width, int height, std::vector<unsigned char> rgba)
      : width_(width), height_(height), rgba_(std::move(rgba)) {}
  static std::unique_ptr<PngImage> finishRead(Reader& reader, const std::string& name);

  int width_;
  int height_;
  std::vector<unsigned char> rgba_;
};

// The module's images, read from PNG files.
class PngDecoder : public ImageDecoder {
 public:
  std::unique_ptr<Image> imageWithContentsOfFile(const std::string& path) override {
    return PngImage::load(path);
  }
};
