#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/headless_surface.h"

// A headless surface whose size, visibility and end a test sets, and which
// counts the frames it is given.
class TestSurface : public HeadlessSurface {
 public:
  explicit TestSurface(Size size) : size_(size) {}

  Size pixelSize() const override { return size_; }
  std::size_t bytesPerPixel() const override { return PixelBytes::kFrame + PixelBytes::kReadBack; }
  bool canBeSeen() const override { return seen_; }
  bool closed() const override { return closed_; }
  bool present(OpenGLContext&) override {
    ++presented_;
    if (afterFrame_) {
      afterFrame_(presented_);
    }
    return !failPresent_;
  }
  void keepShownFrames() override { kept_ = true; }
  bool shownFrame(OpenGLContext& context, std::vector<uint8_t>& rgba, int& width, int& height) override {
    return context.readPixels(rgba, width, height);
  }

  Size size_;
  bool seen_ = true;
  bool closed_ = false;
  bool failPresent_ = false;
  bool kept_ = false;
  // Runs after each frame shown, with the number of frames shown so far.
  std::function<void(int)> afterFrame_;
  int presented_ = 0;
};
