#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/display_area.h"
#include "platform/frame_surface.h"

class GtkNibLoader;
class PngDecoder;
class SdlContextFactory;
class SdlEvents;
class WaylandFrameRequest;

// An SDL window drawn into with GL, on X11 or Wayland: a window of our own,
// made with the view's first context, or another program's X window, whose
// size follows its owner's changes. Its frames are shown by the context's
// flushBuffer; its sheet comes from GTK.
class SdlWindowSurface : public FrameSurface {
 public:
  SdlWindowSurface(SdlEvents& events, const WindowPlacement& placement, bool wayland);
  // The X window with that id, which stays its owner's, of that size now.
  SdlWindowSurface(SdlEvents& events, unsigned long foreignWindow, Size size);
  ~SdlWindowSurface() override;
  SdlWindowSurface(const SdlWindowSurface&) = delete;
  SdlWindowSurface& operator=(const SdlWindowSurface&) = delete;

  SaverBackends backends() override;
  std::string contextFailure() const override;
  Size pixelSize() const override;
  // The frame's buffers, the window's, and a screenshot's read-back and
  // PNG rows.
  std::size_t bytesPerPixel() const override {
    return PixelBytes::kFrame + PixelBytes::kWindowBuffers + PixelBytes::kReadBack + PixelBytes::kPngRow;
  }
  // Unless the window is unmapped or wholly covered by other windows, or,
  // on Wayland, its compositor has not asked for a frame since the last.
  bool canBeSeen() const override;
  bool closed() const override { return closed_; }
  std::vector<SurfaceInput> takeInput() override;
  // flushBuffer has already swapped the frame onto the window; on Wayland
  // the compositor is asked when it wants the next.
  bool present(OpenGLContext&) override;
  void keepShownFrames() override;
  bool shownFrame(OpenGLContext& context, std::vector<uint8_t>& rgba, int& width, int& height) override;

  // Watches the window, when windows are watched: one already gone counts
  // as closed. On Wayland, frames are drawn when the compositor asks.
  void windowMade() override;
  // The window's X11 id; 0 without a window or on Wayland.
  unsigned long x11Window() const;
  uint32_t windowId() const;
  // The window's size in points, its place on the screen, and the usable
  // area (panels left out) of the display it is on.
  Size windowSize() const;
  void moveTo(int x, int y);
  std::optional<DisplayArea> usableDisplayArea() const;
  // Covers the window's display without a border, the way full screen
  // opens its windows, or goes back to where it was before. Unlike SDL's
  // full-screen modes this needs no window manager.
  void toggleFullScreen();

 private:
  friend class SdlEvents;
  void queue(const SurfaceInput& input) { input_.push_back(input); }
  void follow(Size size) { size_ = size; }
  void close() { closed_ = true; }

  SdlEvents& events_;
  bool foreign_;
  // The owner's latest size of a foreign window.
  Size size_;
  // Declared first of the backends, so that the window outlives the rest.
  std::unique_ptr<SdlContextFactory> contexts_;
  std::unique_ptr<WaylandFrameRequest> frames_;
  std::unique_ptr<PngDecoder> images_;
  std::unique_ptr<GtkNibLoader> nibs_;
  std::vector<SurfaceInput> input_;
  bool closed_ = false;
  // Whether the window is mapped and not wholly covered, as far as watched.
  bool seen_ = true;
  // Where the window was before toggleFullScreen covered its display.
  std::optional<DisplayArea> windowed_;
};
