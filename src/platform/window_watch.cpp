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
  // Selected before the window is looked at, so that a window destroyed
  // after the look is sure to send its DestroyNotify.
  XSelectInput(display_, window, StructureNotifyMask);
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display_, window, &attributes)) {
    gone_.push_back(window);
    return std::nullopt;
  }
  windows_.push_back(window);
  if (followSize) {
    followed_ = window;
  }
  return Size{static_cast<double>(attributes.width), static_cast<double>(attributes.height)};
}

WindowWatch::Changes WindowWatch::takeChanges() {
  Changes changes;
  changes.destroyed = std::move(gone_);
  gone_.clear();
  while (XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    if (event.type == ConfigureNotify && event.xconfigure.window == followed_) {
      changes.size =
          Size{static_cast<double>(event.xconfigure.width), static_cast<double>(event.xconfigure.height)};
    } else if (event.type == DestroyNotify &&
               std::find(windows_.begin(), windows_.end(), event.xdestroywindow.window) != windows_.end()) {
      changes.destroyed.push_back(event.xdestroywindow.window);
    }
  }
  return changes;
}
