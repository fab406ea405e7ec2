#include "platform/sdl_context.h"

#include <GL/gl.h>
#include <X11/Xlib.h>

#include <string_view>

#include "platform/sdl_x11_window.h"
#include "platform/top_down_pixels.h"
#include "platform/x_shm_image.h"

namespace {

// On X11 these pick the visual of a window made after them. Version 2.1
// without a profile takes SDL's plain GLX path, which gives a compatibility
// context from the window's own visual, foreign windows included.
// False when the X11 window is gone. SDL makes a context from the window's
// attributes without checking that it could read them, and the owner of a
// foreign window may destroy it at any moment, XScreenSaver at every unblank.
bool windowStillThere(SDL_Window* window) {
  const auto x11 = x11WindowOf(window);
  if (!x11) {
    return true;
  }
  XWindowAttributes attributes;
  return XGetWindowAttributes(x11->display, x11->window, &attributes) != 0;
}

void requestFormat(const PixelFormat& format, bool accelerated) {
  const int channel = format.colorSize / 3;
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, format.doubleBuffer ? 1 : 0);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, channel);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, format.alphaSize);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, format.depthSize);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, format.stencilSize);
  // -1 leaves the choice of renderer to the driver.
  SDL_GL_SetAttribute(SDL_GL_ACCELERATED_VISUAL, accelerated ? 1 : -1);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, 0);
}

}  // namespace

SdlContext::SdlContext(SDL_Window* window, SDL_GLContext context) : window_(window), context_(context) {}

SdlContext::~SdlContext() {
  if (frame_) {
    SDL_GL_MakeCurrent(window_, context_);
    frame_.reset();
  }
  SDL_GL_DeleteContext(context_);
}

void SdlContext::makeCurrentContext() {
  SDL_GL_MakeCurrent(window_, context_);
  if (frame_) {
    frame_->bind();
  }
}

void SdlContext::flushBuffer() {
  if (shared_) {
    // The server copies the frame onto the window: no back buffer, no swap.
    frame_->readTopDown(shared_->pixels(), shared_->rowLength());
    shared_->show();
    return;
  }
  if (frame_) {
    frame_->copyToWindow();
  } else if (keepsFrames_ && readBackBuffer(keptFrame_)) {
    keptWidth_ = width_;
    keptHeight_ = height_;
  }
  SDL_GL_SwapWindow(window_);
}

void SdlContext::setValues(const int* values, int parameter) {
  if (parameter == NSOpenGLCPSwapInterval) {
    makeCurrentContext();
    SDL_GL_SetSwapInterval(values[0]);
  }
}

void SdlContext::setSurfaceSize(int width, int height) {
  width_ = width > 0 ? width : 0;
  height_ = height > 0 ? height : 0;
  SDL_GL_MakeCurrent(window_, context_);
  shared_.reset();
  frame_.reset();
  // Wayland compositors blend a window by its alpha; an X11 window's visual
  // has depth 24, so its alpha never reaches the screen.
  frame_ =
      OffscreenFrame::create(width_, height_, std::string_view(SDL_GetCurrentVideoDriver()) == "wayland");
  // A software renderer's swap copies its back buffer to the server once
  // more; reading the frame into memory the server shares skips that copy
  // and the one into the back buffer.
  if (const auto x11 = x11WindowOf(window_); x11 && frame_ && frame_->readsAsMemory()) {
    shared_ = XShmImage::create(x11->display, x11->window, width_, height_);
  }
}

bool SdlContext::readPixels(std::vector<uint8_t>& rgba, int& width, int& height) {
  if (frame_) {
    makeCurrentContext();
    frame_->read(rgba);
    width = frame_->width();
    height = frame_->height();
    return true;
  }
  if (!keptFrame_.empty()) {
    rgba = keptFrame_;
    width = keptWidth_;
    height = keptHeight_;
    return true;
  }
  makeCurrentContext();
  if (!readBackBuffer(rgba)) {
    return false;
  }
  width = width_;
  height = height_;
  return true;
}

bool SdlContext::readBackBuffer(std::vector<uint8_t>& rgba) {
  if (width_ == 0 || height_ == 0) {
    return false;
  }
  glReadBuffer(GL_BACK);
  readTopDownPixels(width_, height_, rgba);
  return true;
}

SdlContextFactory::SdlContextFactory(SdlWindowPlacement placement) : placement_(std::move(placement)) {}

SdlContextFactory::SdlContextFactory(unsigned long foreignWindow) : foreign_(true) {
  SDL_SetHint(SDL_HINT_VIDEO_FOREIGN_WINDOW_OPENGL, "1");
  window_ = SDL_CreateWindowFrom(reinterpret_cast<const void*>(foreignWindow));
  if (!window_) {
    error_ = SDL_GetError();
  }
}

// SDL leaves a foreign window itself alone when it lets go of it.
SdlContextFactory::~SdlContextFactory() {
  if (window_) {
    SDL_DestroyWindow(window_);
  }
}

std::unique_ptr<OpenGLContext> SdlContextFactory::createContext(const PixelFormat& format) {
  if (foreign_ && !window_) {
    return nullptr;
  }
  const int attempts = format.accelerated ? 2 : 1;
  for (int attempt = 0; attempt < attempts; ++attempt) {
    requestFormat(format, format.accelerated && attempt == 0);
    if (!window_) {
      window_ = SDL_CreateWindow(placement_.title.c_str(), placement_.x, placement_.y, placement_.width,
                                 placement_.height, placement_.flags | SDL_WINDOW_OPENGL);
      if (!window_) {
        error_ = SDL_GetError();
        continue;
      }
    }
    if (foreign_ && !windowStillThere(window_)) {
      error_ = "the window went away";
      return nullptr;
    }
    if (SDL_GLContext context = SDL_GL_CreateContext(window_)) {
      auto made = std::make_unique<SdlContext>(window_, context);
      context_ = made.get();
      return made;
    }
    // The window stays for the second try: its visual met the format, and
    // another client may be about to destroy it, which a new window would
    // hide from the host.
    error_ = SDL_GetError();
  }
  return nullptr;
}

unsigned long SdlContextFactory::x11Window() const {
  const auto x11 = x11WindowOf(window_);
  return x11 ? x11->window : 0;
}
