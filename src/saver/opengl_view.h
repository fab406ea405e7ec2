#pragma once

#include <memory>

#include "saver/opengl_context.h"
#include "saver/view.h"

// A child view with its own GL context; its drawable takes the view's size.
class OpenGLView : public View {
 public:
  OpenGLView(Rect frame, std::unique_ptr<OpenGLContext> context);
  OpenGLContext* openGLContext() const { return context_.get(); }
  void setFrameSize(Size size) override;

 private:
  std::unique_ptr<OpenGLContext> context_;
};
