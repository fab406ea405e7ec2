#pragma once

#include "saver/image_decoder.h"
#include "saver/nib.h"
#include "saver/opengl_context.h"

// What a saver view takes from the platform it runs on; each must outlive
// the view. Without a nib loader (headless) the view has no sheet, and no
// toolkit or display is touched for one.
struct SaverBackends {
  OpenGLContextFactory& contexts;
  ImageDecoder& images;
  NibLoader* nibs = nullptr;
};
