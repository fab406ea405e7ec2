#include "platform/offscreen_frame.h"

#include <GL/glext.h>
#include <SDL2/SDL.h>

#include <optional>

#include "platform/top_down_pixels.h"

// The framebuffer-object entry points, which a GL 2.1 context offers
// through the driver's extension.
struct OffscreenFrame::Functions {
  PFNGLGENFRAMEBUFFERSPROC genFramebuffers;
  PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers;
  PFNGLBINDFRAMEBUFFERPROC bindFramebuffer;
  PFNGLGENRENDERBUFFERSPROC genRenderbuffers;
  PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers;
  PFNGLBINDRENDERBUFFERPROC bindRenderbuffer;
  PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage;
  PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer;
  PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus;
  PFNGLBLITFRAMEBUFFERPROC blitFramebuffer;
};

namespace {

template <typename Function>
bool load(Function& function, const char* name) {
  function = reinterpret_cast<Function>(SDL_GL_GetProcAddress(name));
  return function != nullptr;
}

}  // namespace

const OffscreenFrame::Functions* OffscreenFrame::functions() {
  static const std::optional<Functions> loaded = []() -> std::optional<Functions> {
    if (!SDL_GL_ExtensionSupported("GL_ARB_framebuffer_object")) {
      return std::nullopt;
    }
    Functions gl{};
    const bool all = load(gl.genFramebuffers, "glGenFramebuffers") &&
                     load(gl.deleteFramebuffers, "glDeleteFramebuffers") &&
                     load(gl.bindFramebuffer, "glBindFramebuffer") &&
                     load(gl.genRenderbuffers, "glGenRenderbuffers") &&
                     load(gl.deleteRenderbuffers, "glDeleteRenderbuffers") &&
                     load(gl.bindRenderbuffer, "glBindRenderbuffer") &&
                     load(gl.renderbufferStorage, "glRenderbufferStorage") &&
                     load(gl.framebufferRenderbuffer, "glFramebufferRenderbuffer") &&
                     load(gl.checkFramebufferStatus, "glCheckFramebufferStatus") &&
                     load(gl.blitFramebuffer, "glBlitFramebuffer");
    return all ? std::optional(gl) : std::nullopt;
  }();
  return loaded ? &*loaded : nullptr;
}

std::unique_ptr<OffscreenFrame> OffscreenFrame::create(int width, int height, bool opaqueWindow) {
  const Functions* gl = functions();
  if (!gl || width <= 0 || height <= 0) {
    return nullptr;
  }
  std::unique_ptr<OffscreenFrame> frame(new OffscreenFrame(*gl, width, height, opaqueWindow));
  gl->genFramebuffers(1, &frame->framebuffer_);
  gl->bindFramebuffer(GL_FRAMEBUFFER, frame->framebuffer_);
  gl->genRenderbuffers(2, frame->renderbuffers_);
  // The formats of headless rendering's buffers.
  gl->bindRenderbuffer(GL_RENDERBUFFER, frame->renderbuffers_[0]);
  gl->renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
  gl->framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                              frame->renderbuffers_[0]);
  gl->bindRenderbuffer(GL_RENDERBUFFER, frame->renderbuffers_[1]);
  gl->renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
  gl->framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                              frame->renderbuffers_[1]);
  gl->bindRenderbuffer(GL_RENDERBUFFER, 0);
  if (gl->checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    // Drawing goes back to the window.
    gl->bindFramebuffer(GL_FRAMEBUFFER, 0);
    return nullptr;
  }
  return frame;
}

OffscreenFrame::~OffscreenFrame() {
  gl_.bindFramebuffer(GL_FRAMEBUFFER, 0);
  gl_.deleteFramebuffers(1, &framebuffer_);
  gl_.deleteRenderbuffers(2, renderbuffers_);
}

void OffscreenFrame::bind() const {
  gl_.bindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
}

void OffscreenFrame::copyToWindow() const {
  gl_.bindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
  gl_.bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  glDrawBuffer(GL_BACK);
  gl_.blitFramebuffer(0, 0, width_, height_, 0, 0, width_, height_, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  // The frame's alpha is what the blending left, not a coverage: a
  // compositor that honours the window's alpha (Wayland's do) would show
  // what lies behind the saver through it. The window gets alpha 1; a
  // software renderer pays a full-screen pass for it, so only where the
  // alpha is shown.
  if (opaqueWindow_) {
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_SCISSOR_BIT);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_TRUE);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glPopAttrib();
  }
  bind();
}

void OffscreenFrame::read(std::vector<uint8_t>& rgba) const {
  bind();
  readTopDownPixels(width_, height_, rgba);
}
