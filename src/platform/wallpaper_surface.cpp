#include "platform/wallpaper_surface.h"

Size WallpaperSurface::pixelSize() const {
  return Size{static_cast<double>(window_->pixelWidth()), static_cast<double>(window_->pixelHeight())};
}

bool WallpaperSurface::present(OpenGLContext& context) {
  if (context.readPixels(frame_, frameWidth_, frameHeight_)) {
    window_->show(frame_, frameWidth_, frameHeight_);
  }
  return true;
}

bool WallpaperSurface::shownFrame(OpenGLContext&, std::vector<uint8_t>& rgba, int& width, int& height) {
  if (frame_.empty()) {
    return false;
  }
  rgba = frame_;
  width = frameWidth_;
  height = frameHeight_;
  return true;
}
