#pragma once

#include "saver/opengl_context.h"

// Headless GL: Mesa's surfaceless EGL platform, a desktop-GL compatibility
// context drawing into a framebuffer object of the view's size. Needs no X
// server and no display.
class EglContextFactory : public OpenGLContextFactory {
 public:
  std::unique_ptr<OpenGLContext> createContext(const PixelFormat& format) override;
};
