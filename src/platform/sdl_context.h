#pragma once

#include <SDL2/SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/offscreen_frame.h"
#include "saver/opengl_context.h"

// Where a window of our own goes: its title, place, size and SDL window
// flags (SDL_WINDOW_OPENGL is added).
struct SdlWindowPlacement {
  std::string title;
  int x = SDL_WINDOWPOS_CENTERED;
  int y = SDL_WINDOWPOS_CENTERED;
  int width = 0;
  int height = 0;
  uint32_t flags = 0;
};

// On-screen GL: a GL 2.1 compatibility context drawing into one SDL window,
// double-buffered, swapping on flushBuffer. Frames are drawn into an
// offscreen frame of the view's size and copied to the back buffer before
// the swap, so that they come out as headless rendering draws them; a driver
// without framebuffer objects draws into the back buffer itself.
class XShmImage;

class SdlContext : public OpenGLContext {
 public:
  SdlContext(SDL_Window* window, SDL_GLContext context);
  ~SdlContext() override;
  SdlContext(const SdlContext&) = delete;
  SdlContext& operator=(const SdlContext&) = delete;

  void makeCurrentContext() override;
  void flushBuffer() override;
  // Only the swap interval (222) means anything here; drivers without swap
  // control keep swapping at once.
  void setValues(const int* values, int parameter) override;
  // The window's drawable already has its size: this makes the offscreen
  // frame of that size.
  void setSurfaceSize(int width, int height) override;
  // The offscreen frame, which keeps the last frame after its swap. Without
  // one, the back buffer before the swap; once a frame has been kept, the
  // kept frame.
  bool readPixels(std::vector<uint8_t>& rgba, int& width, int& height) override;

  // While on, and drawing straight into the back buffer, each flushBuffer
  // first copies the finished frame, so that readPixels still has it after
  // it has been shown.
  void setKeepsFrames(bool keep) { keepsFrames_ = keep; }
  bool drawsOffscreen() const { return frame_ != nullptr; }

 private:
  bool readBackBuffer(std::vector<uint8_t>& rgba);

  SDL_Window* window_;
  SDL_GLContext context_;
  std::unique_ptr<OffscreenFrame> frame_;
  // Under a software renderer on X11, where the server shares our memory:
  // the frame is shown from it instead of through the back buffer.
  std::unique_ptr<XShmImage> shared_;
  int width_ = 0;
  int height_ = 0;
  bool keepsFrames_ = false;
  std::vector<uint8_t> keptFrame_;
  int keptWidth_ = 0;
  int keptHeight_ = 0;
};

// The contexts of one SDL window. A window of our own is made with the first
// context, since on X11 the pixel format picks the window's visual; a window
// that another program owns is taken as it is.
class SdlContextFactory : public OpenGLContextFactory {
 public:
  explicit SdlContextFactory(SdlWindowPlacement placement);
  // Draws into the X window with that id, which stays its owner's.
  explicit SdlContextFactory(unsigned long foreignWindow);
  ~SdlContextFactory() override;
  SdlContextFactory(const SdlContextFactory&) = delete;
  SdlContextFactory& operator=(const SdlContextFactory&) = delete;

  // Tries the format as asked, then without the hardware-renderer request.
  std::unique_ptr<OpenGLContext> createContext(const PixelFormat& format) override;

  // Null until a context was made for a window of our own, or when the
  // foreign window could not be taken.
  SDL_Window* window() const { return window_; }
  // The context made last; null before one was made.
  SdlContext* context() const { return context_; }
  // Why the last createContext failed.
  const std::string& error() const { return error_; }
  // The window's X11 id; 0 without a window or on another video system.
  unsigned long x11Window() const;

 private:
  SdlWindowPlacement placement_;
  bool foreign_ = false;
  SDL_Window* window_ = nullptr;
  SdlContext* context_ = nullptr;
  std::string error_;
};
