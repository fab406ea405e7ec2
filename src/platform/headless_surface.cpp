#include "platform/headless_surface.h"

#include "platform/drawable_limits.h"

std::string HeadlessSurface::contextFailure() const {
  return "no headless OpenGL renderer: install Mesa's EGL drivers (libegl-mesa0, libgl1-mesa-dri)";
}

// The context draws only into its framebuffer object, which must be whole.
std::optional<std::string> HeadlessSurface::drawableFailure() const {
  return ::drawableFailure();
}

bool HeadlessSurface::lastFrame(std::vector<uint8_t>& rgba, int& width, int& height) const {
  if (frame_.empty()) {
    return false;
  }
  rgba = frame_;
  width = frameWidth_;
  height = frameHeight_;
  return true;
}
