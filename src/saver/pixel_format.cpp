#include "saver/pixel_format.h"

std::optional<PixelFormat> PixelFormat::initWithAttributes(const uint32_t* attributes, std::size_t count) {
  PixelFormat format;
  std::size_t i = 0;
  const auto valueOf = [&](int& field) {
    if (i + 1 >= count) {
      return false;
    }
    field = static_cast<int>(attributes[++i]);
    return true;
  };
  for (; i < count; ++i) {
    switch (attributes[i]) {
      case 0: return format;
      case NSOpenGLPFADoubleBuffer: format.doubleBuffer = true; break;
      case NSOpenGLPFAMinimumPolicy: format.minimumPolicy = true; break;
      case NSOpenGLPFAAccelerated: format.accelerated = true; break;
      case NSOpenGLPFARendererID:
        if (!valueOf(format.rendererID)) return std::nullopt;
        break;
      case NSOpenGLPFAColorSize:
        if (!valueOf(format.colorSize)) return std::nullopt;
        break;
      case NSOpenGLPFAAlphaSize:
        if (!valueOf(format.alphaSize)) return std::nullopt;
        break;
      case NSOpenGLPFADepthSize:
        if (!valueOf(format.depthSize)) return std::nullopt;
        break;
      case NSOpenGLPFAStencilSize:
        if (!valueOf(format.stencilSize)) return std::nullopt;
        break;
      default: return std::nullopt;
    }
  }
  return std::nullopt;
}
