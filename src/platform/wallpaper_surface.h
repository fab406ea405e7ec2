#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "platform/gtk_layer_background.h"
#include "platform/headless_surface.h"

// One output's wallpaper: a layer-shell background window showing the
// frames that a view draws headless at the window's size.
class WallpaperSurface : public HeadlessSurface {
 public:
  explicit WallpaperSurface(std::unique_ptr<LayerBackground> window) : window_(std::move(window)) {}

  Size pixelSize() const override;
  // The frame's buffers, its read-back and the window's copy of it.
  std::size_t bytesPerPixel() const override {
    return PixelBytes::kFrame + PixelBytes::kReadBack + PixelBytes::kWindowCopy;
  }
  // Once the compositor has asked for a frame since the last was shown.
  bool canBeSeen() const override { return window_->frameWanted(); }
  bool closed() const override { return window_->closed(); }
  bool present(OpenGLContext& context) override;
  bool shownFrame(OpenGLContext& context, std::vector<uint8_t>& rgba, int& width, int& height) override;

 private:
  std::unique_ptr<LayerBackground> window_;
};
