#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <memory>
#include <vector>

// A framebuffer object that an on-screen context draws its frames into and
// copies to the window's back buffer. A window's own framebuffer is drawn
// upside down relative to a framebuffer object, and the software renderer
// rounds edges and blends a few values differently in each; drawing into an
// object of the same channels as headless rendering's gives the same pixels.
// Its colour is kept in the window's byte order (blue, green, red, alpha),
// so that a copy to the window can be a plain copy of memory.
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
  // alpha 1 where the window's alpha reaches the screen. A software
  // renderer gets it one row at a time (see rowByRow_).
  void copyToWindow() const;
  // The frame as RGBA rows from the top.
  void read(std::vector<uint8_t>& rgba) const;
  // Whether readTopDown is one plain copy of memory: under a software
  // renderer whose reads can give the rows from the top.
  bool readsAsMemory() const { return readsAsMemory_; }
  // The frame as BGRA rows from the top, rowLength pixels apart.
  void readTopDown(uint8_t* bgra, int rowLength) const;

 private:
  struct Functions;
  // The entry points, loaded once for the process: every context of it
  // comes from one driver. Null when there are none.
  static const Functions* functions();
  OffscreenFrame(const Functions& gl, int width, int height, bool opaqueWindow, bool rowByRow,
                 bool readsAsMemory)
      : gl_(gl),
        width_(width),
        height_(height),
        opaqueWindow_(opaqueWindow),
        rowByRow_(rowByRow),
        readsAsMemory_(readsAsMemory) {}

  const Functions& gl_;
  int width_;
  int height_;
  bool opaqueWindow_;
  // A window's rows lie top-down in memory and the object's bottom-up, so
  // a whole-frame blit turns the picture over, which a software renderer
  // does by shading every pixel (most of a frame's CPU at 1920x1080). A
  // one-row blit turns nothing over, and between buffers of one byte order
  // it copies memory.
  bool rowByRow_;
  bool readsAsMemory_;
  GLuint framebuffer_ = 0;
  GLuint colorTexture_ = 0;
  GLuint depthStencil_ = 0;
};
