#include "platform/window_watch.h"

#include <X11/Xlib.h>

#include <algorithm>

std::unique_ptr<WindowWatch> WindowWatch::open() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    return nullptr;
  }
  return std::unique_ptr<WindowWatch>(new WindowWatch(display));
}

WindowWatch::~WindowWatch() {
  XCloseDisplay(display_);
}

unsigned long WindowWatch::rootWindow() const {
  return DefaultRootWindow(display_);
}

std::optional<Size> WindowWatch::watch(unsigned long window, bool followSize) {
  // Our own connection's mask: the owner's and SDL's stay as they are.
  // Selected before the window is looked at, so that a window destroyed,
  // mapped or covered after the look is sure to send its event. A window
  // already mapped counts as seen until the server says otherwise.
  XSelectInput(display_, window, StructureNotifyMask | VisibilityChangeMask);
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display_, window, &attributes)) {
    gone_.push_back(window);
    return std::nullopt;
  }
  windows_.push_back({window, attributes.map_state == IsViewable, false});
  if (!windows_.back().seen()) {
    pending_.push_back({window, false});
  }
  if (followSize) {
    followed_ = window;
  }
  return Size{static_cast<double>(attributes.width), static_cast<double>(attributes.height)};
}

WindowWatch::Watched* WindowWatch::watched(unsigned long window) {
  const auto found = std::find_if(windows_.begin(), windows_.end(),
                                  [window](const Watched& w) { return w.window == window; });
  return found == windows_.end() ? nullptr : &*found;
}

void WindowWatch::noteVisibility(unsigned long window, const std::optional<bool>& mapped,
                                 const std::optional<bool>& covered, Changes& changes) {
  Watched* w = watched(window);
  if (!w) {
    return;
  }
  const bool before = w->seen();
  w->mapped = mapped.value_or(w->mapped);
  // A window mapped again is taken as seen until the server's visibility
  // event, which follows the map, says how much of it is covered.
  w->covered = covered.value_or(mapped == true ? false : w->covered);
  if (w->seen() != before) {
    changes.visibility.push_back({window, w->seen()});
  }
}

bool WindowWatch::hasChanges() {
  return !gone_.empty() || !pending_.empty() || XPending(display_) > 0;
}

int WindowWatch::connection() const {
  return ConnectionNumber(display_);
}

WindowWatch::Changes WindowWatch::takeChanges() {
  Changes changes;
  changes.destroyed = std::move(gone_);
  gone_.clear();
  changes.visibility = std::move(pending_);
  pending_.clear();
  while (XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    switch (event.type) {
      case ConfigureNotify:
        if (event.xconfigure.window == followed_) {
          changes.size =
              Size{static_cast<double>(event.xconfigure.width), static_cast<double>(event.xconfigure.height)};
        }
        break;
      case DestroyNotify:
        if (watched(event.xdestroywindow.window)) {
          changes.destroyed.push_back(event.xdestroywindow.window);
        }
        break;
      case MapNotify: noteVisibility(event.xmap.window, true, std::nullopt, changes); break;
      case UnmapNotify: noteVisibility(event.xunmap.window, false, std::nullopt, changes); break;
      case VisibilityNotify:
        // Sent to viewable windows only: also when a window mapped under a
        // parent not yet mapped (a window manager's frame) becomes viewable.
        noteVisibility(event.xvisibility.window, true, event.xvisibility.state == VisibilityFullyObscured,
                       changes);
        break;
      default: break;
    }
  }
  return changes;
}
