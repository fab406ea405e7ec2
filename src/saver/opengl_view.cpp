#include "saver/opengl_view.h"

OpenGLView::OpenGLView(Rect frame, std::unique_ptr<OpenGLContext> context)
    : View(frame), context_(std::move(context)) {}

void OpenGLView::setFrameSize(Size size) {
  View::setFrameSize(size);
  context_->setSurfaceSize(static_cast<int>(size.width), static_cast<int>(size.height));
}
