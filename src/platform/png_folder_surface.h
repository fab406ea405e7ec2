#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/headless_surface.h"

// A folder that frames are written into as PNG files, frame-000001.png on,
// drawn headless at a fixed size: every Nth frame and the last one. While
// it writes, a line on stderr tells how far it is, once a second.
class PngFolderSurface : public HeadlessSurface {
 public:
  // The frames after the last are not written; every 0 writes the last only.
  PngFolderSurface(std::string directory, Size size, int64_t frames, int64_t every);

  Size pixelSize() const override { return size_; }
  // The frame's buffers, its read-back and the PNG's rows.
  std::size_t bytesPerPixel() const override {
    return PixelBytes::kFrame + PixelBytes::kReadBack + PixelBytes::kPngRow;
  }
  bool present(OpenGLContext& context) override;
  bool shownFrame(OpenGLContext& context, std::vector<uint8_t>& rgba, int& width, int& height) override;

  int written() const { return written_; }

 private:
  void reportProgress();

  std::string directory_;
  Size size_;
  int64_t frames_;
  int64_t every_;
  int64_t presented_ = 0;
  int written_ = 0;
  std::vector<uint8_t> rgba_;
  std::chrono::steady_clock::time_point lastReport_ = std::chrono::steady_clock::now();
  bool reported_ = false;
};
