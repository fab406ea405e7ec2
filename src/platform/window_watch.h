#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "saver/geometry.h"

struct _XDisplay;

// Watches the X windows we draw into, on a connection of our own, for their
// end (another program destroying them), whether they can be seen (mapped
// and not wholly covered by other windows) and, for a window that another
// program owns, its size. Neither SDL nor the GL driver notices a window
// going away under it, and SDL reports no visibility.
class WindowWatch {
 public:
  // Nothing when the display cannot be opened.
  static std::unique_ptr<WindowWatch> open();
  ~WindowWatch();
  WindowWatch(const WindowWatch&) = delete;
  WindowWatch& operator=(const WindowWatch&) = delete;

  unsigned long rootWindow() const;
  // The connection, for other questions to the same display.
  _XDisplay* display() const { return display_; }
  // Starts watching a window, and following its size when followSize; its
  // size now, or nothing when there is no such window (which counts as one
  // destroyed from then on).
  std::optional<Size> watch(unsigned long window, bool followSize);

  struct Visibility {
    unsigned long window;
    bool seen;  // mapped and not wholly covered
  };
  struct Changes {
    std::optional<Size> size;              // the followed window's latest new size
    std::vector<unsigned long> destroyed;  // the watched windows that are gone
    std::vector<Visibility> visibility;    // the watched windows' changes of visibility, in order
  };
  // What happened since the last call, without waiting.
  Changes takeChanges();
  // Whether takeChanges would have anything, without waiting.
  bool hasChanges();
  // The connection's file descriptor, to wait on for its events.
  int connection() const;

 private:
  explicit WindowWatch(_XDisplay* display) : display_(display) {}

  struct Watched {
    unsigned long window;
    bool mapped;
    bool covered;  // wholly, as the server last said
    bool seen() const { return mapped && !covered; }
  };
  Watched* watched(unsigned long window);
  // Follows a map, unmap or visibility event of a watched window.
  void noteVisibility(unsigned long window, const std::optional<bool>& mapped,
                      const std::optional<bool>& covered, Changes& changes);

  _XDisplay* display_;
  std::vector<Watched> windows_;
  unsigned long followed_ = 0;
  // Windows found missing as they were first watched.
  std::vector<unsigned long> gone_;
  // Windows found unmapped as they were first watched.
  std::vector<Visibility> pending_;
};
