#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <memory>
#include <vector>

// A framebuffer object that an on-screen context draws its frames into and
// copies to the window's back buffer. A window's own framebuffer is drawn
// upside down relative to a framebuffer object, and the software renderer
// rounds edges and blends a few values differently in each; drawing into an
// object of the same formats as headless rendering's gives the same pixels.
class OffscreenFrame {
 public:
  // Nothing when the current context has no framebuffer objects or cannot
  // make a complete one of this size. opaqueWindow: the window's alpha
  // reaches the screen, so each copy sets it to 1.
  static std::unique_ptr<OffscreenFrame> create(int width, int height, bool opaqueWindow);
  ~OffscreenFrame();
  OffscreenFrame(const OffscreenFrame&) = delete;
  OffscreenFrame& operator=(const OffscreenFrame&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  // Drawing goes into the object from now on.
  void bind() const;
  // Copies the frame to the window's back buffer, pixel for pixel, with
  // alpha 1 where the window's alpha reaches the screen.
  void copyToWindow() const;
  // The frame as RGBA rows from the top.
  void read(std::vector<uint8_t>& rgba) const;

 private:
  struct Functions;
  // The entry points, loaded once for the process: every context of it
  // comes from one driver. Null when there are none.
  static const Functions* functions();
  OffscreenFrame(const Functions& gl, int width, int height, bool opaqueWindow)
      : gl_(gl), width_(width), height_(height), opaqueWindow_(opaqueWindow) {}

  const Functions& gl_;
  int width_;
  int height_;
  bool opaqueWindow_;
  GLuint framebuffer_ = 0;
  GLuint renderbuffers_[2] = {0, 0};
};
