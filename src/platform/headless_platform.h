#pragma once

#include "platform/egl_context.h"
#include "platform/png_image.h"
#include "saver/saver_backends.h"

// A view's backends without a display: EGL contexts, PNG images and no
// sheet, so that nothing starts the toolkit or connects to a window system.
class HeadlessPlatform {
 public:
  SaverBackends backends() { return {contexts_, images_}; }

 private:
  EglContextFactory contexts_;
  PngDecoder images_;
};
