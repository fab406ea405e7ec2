#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "saver/geometry.h"
#include "saver/opengl_context.h"
#include "saver/saver_backends.h"

// Input that a surface's window received, in plain terms: which key, button,
// wheel or movement, or the window system's request to close.
struct SurfaceInput {
  enum class Kind { Quit, CloseButton, Key, Button, Wheel, PointerMoved };
  enum class Key { Escape, Q, F, O, Other };
  Kind kind = Kind::Quit;
  Key key = Key::Other;
  bool repeat = false;  // a held key repeating
  int dx = 0;           // PointerMoved: the movement in pixels
  int dy = 0;
};

// Bytes that one pixel takes in each buffer a frame passes through, for the
// drawable size check: each surface adds up those it holds.
struct PixelBytes {
  static constexpr std::size_t kFrame = 4 + 4;          // the view's colour and depth-stencil buffers
  static constexpr std::size_t kReadBack = 4;           // the frame read back as RGBA
  static constexpr std::size_t kPngRow = 3;             // the frame's RGB rows in a PNG
  static constexpr std::size_t kWindowBuffers = 4 + 4;  // a window's front and back buffers
  static constexpr std::size_t kWindowCopy = 4;         // a window's copy of the frame it shows
};

// A place frames go: a window, a wallpaper, a folder of PNG files. A view
// draws into it through the backends it gives; the frame loop asks it for
// its size, whether a frame could be seen now, its input and its end, and
// hands it each finished frame.
class FrameSurface {
 public:
  virtual ~FrameSurface() = default;

  // What a view drawing here is made with; they live as long as the surface.
  virtual SaverBackends backends() = 0;
  // Why the backends gave a view no GL context, for a message.
  virtual std::string contextFailure() const = 0;
  // Why the drawable just sized cannot be drawn into (the context current),
  // or nothing when it can.
  virtual std::optional<std::string> drawableFailure() const { return std::nullopt; }
  // The drawable's size in pixels; zero while the window system has given
  // it none.
  virtual Size pixelSize() const = 0;
  // The bytes each pixel takes in all the buffers that this surface's frames
  // pass through.
  virtual std::size_t bytesPerPixel() const = 0;
  // Whether a frame drawn now could be seen; the loop draws none while it
  // cannot, and the field waits.
  virtual bool canBeSeen() const { return true; }
  // The view's first context has made the window, or failed to: from now
  // on the surface looks after it.
  virtual void windowMade() {}
  // Whether the window has gone, destroyed by another program or taken away
  // by the compositor.
  virtual bool closed() const { return false; }
  // The input received since the last call.
  virtual std::vector<SurfaceInput> takeInput() { return {}; }
  // Shows the frame just drawn with the context; false when it could not,
  // which ends the run as failed.
  virtual bool present(OpenGLContext& context) = 0;
  // From now on the frame shown last stays readable by shownFrame.
  virtual void keepShownFrames() {}
  // The frame shown last, as RGBA rows from the top; false when there is
  // none.
  virtual bool shownFrame(OpenGLContext& context, std::vector<uint8_t>& rgba, int& width, int& height) = 0;
};

// The window system connection that a loop's surfaces take their events
// from. Events for a surface are queued on it.
class EventSource {
 public:
  virtual ~EventSource() = default;
  // Handles what is pending without waiting; true when it should be asked
  // again before the next frame.
  virtual bool handlePending() = 0;
  // Waits at most the timeout for an event and handles what came.
  virtual void waitForEvents(std::chrono::milliseconds timeout) = 0;
  // Whether the connection has ended, which ends the run.
  virtual bool lost() { return false; }
  // Whether the display's monitors are on; while they are off no surface
  // of the loop is drawn.
  virtual bool monitorsOn() { return true; }
};
