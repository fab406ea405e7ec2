#include "host/saver_screen.h"

#include "host/termination.h"
#include "platform/drawable_limits.h"

namespace {

// The window's front and back buffers, the frame's colour and depth-stencil
// buffers, and a screenshot's read-back and the PNG's rows.
constexpr std::size_t kBytesPerPixel = 4 + 4 + 4 + 4 + 4 + 3;

}  // namespace

std::unique_ptr<SaverScreen> SaverScreen::create(std::unique_ptr<SdlContextFactory> contexts, Size frame,
                                                 bool isPreview, Renderer renderer,
                                                 const SettingsOverrides& overrides, Failure& failure) {
  std::unique_ptr<SaverScreen> screen(new SaverScreen(std::move(contexts)));
  screen->view_ = Swirlmote::initWithFrame(Rect{{}, frame}, isPreview,
                                           {*screen->contexts_, screen->images_, &screen->nibs_});
  if (!screen->view_->glView()) {
    failure.error = screen->contexts_->error();
    failure.x11Window = screen->contexts_->x11Window();
    return nullptr;
  }
  screen->view_->glView()->openGLContext()->makeCurrentContext();
  if (auto refusal = drawableSizeRefusal(static_cast<int>(frame.width), static_cast<int>(frame.height),
                                         kBytesPerPixel)) {
    failure.error = "cannot draw that size: " + *refusal;
    return nullptr;
  }
  screen->view_->setRenderer(renderer);
  // A termination signal ends the frame in progress too.
  screen->view_->setStopCheck(terminationRequested);
  screen->view_->setOverrides(overrides);
  return screen;
}

Size SaverScreen::drawableSize() const {
  int width = 0;
  int height = 0;
  SDL_GL_GetDrawableSize(window(), &width, &height);
  return Size{static_cast<double>(width), static_cast<double>(height)};
}

void SaverScreen::resize(Size pixels) {
  if (pixels.width == size_.width && pixels.height == size_.height) {
    return;
  }
  size_ = pixels;
  view_->setFrameSize(pixels);
}

void SaverScreen::start(Size pixels) {
  resize(pixels);
  view_->startAnimation();
}
