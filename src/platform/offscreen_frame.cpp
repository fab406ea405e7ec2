#include "platform/offscreen_frame.h"

#include <GL/glext.h>
#include <SDL2/SDL.h>

#include <optional>
#include <string_view>

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
  PFNGLFRAMEBUFFERTEXTURE2DPROC framebufferTexture2D;
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
                     load(gl.framebufferTexture2D, "glFramebufferTexture2D") &&
                     load(gl.checkFramebufferStatus, "glCheckFramebufferStatus") &&
                     load(gl.blitFramebuffer, "glBlitFramebuffer");
    return all ? std::optional(gl) : std::nullopt;
  }();
  return loaded ? &*loaded : nullptr;
}

namespace {

// Mesa's software rasterisers, which fill every pixel on the CPU.
bool softwareRenderer() {
  const auto* name = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  const std::string_view renderer = name ? name : "";
  return renderer.find("llvmpipe") != std::string_view::npos ||
         renderer.find("softpipe") != std::string_view::npos;
}

}  // namespace

std::unique_ptr<OffscreenFrame> OffscreenFrame::create(int width, int height, bool opaqueWindow) {
  const Functions* gl = functions();
  if (!gl || width <= 0 || height <= 0) {
    return nullptr;
  }
  const bool software = softwareRenderer();
  std::unique_ptr<OffscreenFrame> frame(
      new OffscreenFrame(*gl, width, height, opaqueWindow, software,
                         software && SDL_GL_ExtensionSupported("GL_MESA_pack_invert")));
  gl->genFramebuffers(1, &frame->framebuffer_);
  gl->bindFramebuffer(GL_FRAMEBUFFER, frame->framebuffer_);
  // Eight bits a channel with alpha, as headless rendering's buffer; the
  // unsized format lets the driver keep the texels as the pixels are given,
  // blue first, the order of a window's buffer.
  glGenTextures(1, &frame->colorTexture_);
  glBindTexture(GL_TEXTURE_2D, frame->colorTexture_);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
  glBindTexture(GL_TEXTURE_2D, 0);
  gl->framebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, frame->colorTexture_, 0);
  gl->genRenderbuffers(1, &frame->depthStencil_);
  gl->bindRenderbuffer(GL_RENDERBUFFER, frame->depthStencil_);
  gl->renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
  gl->framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                              frame->depthStencil_);
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
  glDeleteTextures(1, &colorTexture_);
  gl_.deleteRenderbuffers(1, &depthStencil_);
}

void OffscreenFrame::bind() const {
  gl_.bindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
}

void OffscreenFrame::copyToWindow() const {
  gl_.bindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
  gl_.bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  glDrawBuffer(GL_BACK);
  if (rowByRow_) {
    // Each source row given top to bottom: GL turns the one-row picture
    // over twice, once for the window's rows, and the copy keeps its order.
    for (int y = 0; y < height_; ++y) {
      gl_.blitFramebuffer(0, y + 1, width_, y, 0, y, width_, y + 1, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    }
  } else {
    gl_.blitFramebuffer(0, 0, width_, height_, 0, 0, width_, height_, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  }
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

void OffscreenFrame::readTopDown(uint8_t* bgra, int rowLength) const {
  bind();
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glPixelStorei(GL_PACK_ROW_LENGTH, rowLength);
  glPixelStorei(GL_PACK_INVERT_MESA, GL_TRUE);
  glReadPixels(0, 0, width_, height_, GL_BGRA, GL_UNSIGNED_BYTE, bgra);
  glPixelStorei(GL_PACK_INVERT_MESA, GL_FALSE);
  glPixelStorei(GL_PACK_ROW_LENGTH, 0);
}
