#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "saver/pixel_format.h"

inline constexpr int NSOpenGLCPSwapInterval = 222;

// A GL context with the surface it draws into.
class OpenGLContext {
 public:
  virtual ~OpenGLContext() = default;
  virtual void makeCurrentContext() = 0;
  // Shows the finished frame.
  virtual void flushBuffer() = 0;
  virtual void setValues(const int* values, int parameter) = 0;
  // The drawable follows the view's size in pixels.
  virtual void setSurfaceSize(int width, int height) = 0;
  // The frame just drawn (before flushBuffer) as RGBA rows from the top.
  virtual bool readPixels(std::vector<uint8_t>& rgba, int& width, int& height) = 0;
};

// Where a saver view's GL contexts come from: the headless renderer or the
// host's window for the view.
class OpenGLContextFactory {
 public:
  virtual ~OpenGLContextFactory() = default;
  // Nothing when no config meets the pixel format.
  virtual std::unique_ptr<OpenGLContext> createContext(const PixelFormat& format) = 0;
};
