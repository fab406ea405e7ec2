#pragma once

#include <cstdint>
#include <optional>

// Attribute words of a pixel-format list, terminated by 0.
enum PixelFormatAttribute : uint32_t {
  NSOpenGLPFADoubleBuffer = 5,
  NSOpenGLPFAColorSize = 8,
  NSOpenGLPFAAlphaSize = 11,
  NSOpenGLPFADepthSize = 12,
  NSOpenGLPFAStencilSize = 13,
  NSOpenGLPFAMinimumPolicy = 51,
  NSOpenGLPFARendererID = 70,
  NSOpenGLPFAAccelerated = 73,
};

// The buffer requests of an attribute list, as a GL backend turns them into
// its own config attributes.
struct PixelFormat {
  int rendererID = 0;
  bool doubleBuffer = false;
  bool minimumPolicy = false;
  int colorSize = 0;
  int alphaSize = 0;
  int depthSize = 0;
  int stencilSize = 0;
  bool accelerated = false;

  // Nothing when the list holds a word this layer does not know or ends
  // inside an attribute's value.
  static std::optional<PixelFormat> initWithAttributes(const uint32_t* attributes, std::size_t count);
};
