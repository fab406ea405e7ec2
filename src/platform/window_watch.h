#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "saver/geometry.h"

struct _XDisplay;

// Watches the X windows we draw into, on a connection of our own, for their
// end (another program destroying them) and, for a window that another
// program owns, its size. Neither SDL nor the GL driver notices a window
// going away under it.
class WindowWatch {
 public:
  // Nothing when the display cannot be opened.
  static std::unique_ptr<WindowWatch> open();
  ~WindowWatch();
  WindowWatch(const WindowWatch&) = delete;
  WindowWatch& operator=(const WindowWatch&) = delete;

  unsigned long rootWindow() const;
  // Starts watching a window, and following its size when followSize; its
  // size now, or nothing when there is no such window (which counts as one
  // destroyed from then on).
  std::optional<Size> watch(unsigned long window, bool followSize);

  struct Changes {
    std::optional<Size> size;              // the followed window's latest new size
    std::vector<unsigned long> destroyed;  // the watched windows that are gone
  };
  // What happened since the last call, without waiting.
  Changes takeChanges();

 private:
  explicit WindowWatch(_XDisplay* display) : display_(display) {}

  _XDisplay* display_;
  std::vector<unsigned long> windows_;
  unsigned long followed_ = 0;
  // Windows found missing as they were first watched.
  std::vector<unsigned long> gone_;
};
