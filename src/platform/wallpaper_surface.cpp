#include "platform/wallpaper_surface.h"

Size WallpaperSurface::pixelSize() const {
  return Size{static_cast<double>(window_->pixelWidth()), static_cast<double>(window_->pixelHeight())};
}

bool WallpaperSurface::present(OpenGLContext& context) {
  if (readBack(context)) {
    window_->show(frame(), frameWidth(), frameHeight());
  }
  return true;
}

bool WallpaperSurface::shownFrame(OpenGLContext&, std::vector<uint8_t>& rgba, int& width, int& height) {
  return lastFrame(rgba, width, height);
}
