#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <cstdint>
#include <memory>

// An image in memory shared with the X server, the size of a window's
// frame: a frame read straight into it is copied onto the window by the
// server, with no back buffer and no swap in between. Its pixels are 32-bit
// words, blue in the lowest byte, the order of a frame read as BGRA.
class XShmImage {
 public:
  // Nothing when the server has no MIT-SHM or cannot attach the memory (a
  // server on another machine), or when the window's pixels are not 32-bit
  // words of depth 24 with red, green and blue in the frame's byte order.
  static std::unique_ptr<XShmImage> create(Display* display, Window window, int width, int height);
  ~XShmImage();
  XShmImage(const XShmImage&) = delete;
  XShmImage& operator=(const XShmImage&) = delete;

  // Rows from the top, rowLength() pixels apart.
  uint8_t* pixels() const { return reinterpret_cast<uint8_t*>(image_->data); }
  int rowLength() const { return image_->bytes_per_line / 4; }
  // Copies the image onto the window's top-left corner. Returns once the
  // server has read it, so that the next frame may be written over it.
  void show();

 private:
  XShmImage(Display* display, Window window) : display_(display), window_(window) {}

  Display* display_;
  Window window_;
  XShmSegmentInfo segment_{};
  XImage* image_ = nullptr;
  GC gc_ = nullptr;
  bool attached_ = false;
};
