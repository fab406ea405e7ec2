#define GL_GLEXT_PROTOTYPES 1
#include "platform/egl_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdio>

#include "platform/top_down_pixels.h"

namespace {

EGLDisplay surfacelessDisplay() {
  static const EGLDisplay display = [] {
    const auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay) {
      return EGL_NO_DISPLAY;
    }
    EGLDisplay d = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (d == EGL_NO_DISPLAY || !eglInitialize(d, nullptr, nullptr)) {
      return EGL_NO_DISPLAY;
    }
    return d;
  }();
  return display;
}

class EglContext : public OpenGLContext {
 public:
  EglContext(EGLDisplay display, EGLContext context) : display_(display), context_(context) {}
  ~EglContext() override {
    if (eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_)) {
      releaseFramebuffer();
    }
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(display_, context_);
  }

  void makeCurrentContext() override {
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  }

  void flushBuffer() override { glFinish(); }

  // There is no display to wait for.
  void setValues(const int*, int) override {}

  void setSurfaceSize(int width, int height) override {
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_);
    releaseFramebuffer();
    width_ = width > 0 ? width : 0;
    height_ = height > 0 ? height : 0;
    if (width_ == 0 || height_ == 0) {
      return;
    }
    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glGenRenderbuffers(2, renderbuffers_);
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers_[0]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width_, height_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, renderbuffers_[0]);
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers_[1]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width_, height_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                              renderbuffers_[1]);
  }

  bool readPixels(std::vector<uint8_t>& rgba, int& width, int& height) override {
    if (width_ == 0 || height_ == 0) {
      return false;
    }
    makeCurrentContext();
    width = width_;
    height = height_;
    readTopDownPixels(width_, height_, rgba);
    return true;
  }

 private:
  void releaseFramebuffer() {
    if (framebuffer_) {
      glBindFramebuffer(GL_FRAMEBUFFER, 0);
      glDeleteFramebuffers(1, &framebuffer_);
      glDeleteRenderbuffers(2, renderbuffers_);
      framebuffer_ = 0;
      renderbuffers_[0] = renderbuffers_[1] = 0;
    }
  }

  EGLDisplay display_;
  EGLContext context_;
  GLuint framebuffer_ = 0;
  GLuint renderbuffers_[2] = {0, 0};
  int width_ = 0;
  int height_ = 0;
};

}  // namespace

std::unique_ptr<OpenGLContext> EglContextFactory::createContext(const PixelFormat& format) {
  const EGLDisplay display = surfacelessDisplay();
  if (display == EGL_NO_DISPLAY || !eglBindAPI(EGL_OPENGL_API)) {
    return nullptr;
  }
  // The drawable is a framebuffer object with its own depth and stencil
  // buffers, so the config only has to render desktop GL.
  const int channel = format.colorSize / 3;
  const EGLint attributes[] = {EGL_RENDERABLE_TYPE,
                               EGL_OPENGL_BIT,
                               EGL_SURFACE_TYPE,
                               EGL_DONT_CARE,
                               EGL_RED_SIZE,
                               channel,
                               EGL_GREEN_SIZE,
                               channel,
                               EGL_BLUE_SIZE,
                               channel,
                               EGL_ALPHA_SIZE,
                               format.alphaSize,
                               EGL_NONE};
  EGLConfig config = nullptr;
  EGLint found = 0;
  if (!eglChooseConfig(display, attributes, &config, 1, &found) || found < 1) {
    return nullptr;
  }
  const EGLint contextAttributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                      EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
  const EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
  if (context == EGL_NO_CONTEXT) {
    return nullptr;
  }
  return std::make_unique<EglContext>(display, context);
}
