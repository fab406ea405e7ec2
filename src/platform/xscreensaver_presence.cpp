#include "platform/xscreensaver_presence.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

// A window may be destroyed while it is looked at.
int ignoreError(Display*, XErrorEvent*) {
  return 0;
}

bool marked(Display* display, Window window, Atom version) {
  Atom type = None;
  int format = 0;
  unsigned long items = 0;
  unsigned long left = 0;
  unsigned char* value = nullptr;
  const bool found = XGetWindowProperty(display, window, version, 0, 0, False, XA_STRING, &type, &format,
                                        &items, &left, &value) == Success &&
                     type != None;
  if (value) {
    XFree(value);
  }
  return found;
}

}  // namespace

bool xscreensaverDaemonRuns() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    return false;
  }
  const auto previous = XSetErrorHandler(ignoreError);
  const Atom version = XInternAtom(display, "_SCREENSAVER_VERSION", True);
  bool runs = false;
  Window root = None;
  Window parent = None;
  Window* children = nullptr;
  unsigned count = 0;
  if (version != None && XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
    for (unsigned i = 0; i < count && !runs; ++i) {
      runs = marked(display, children[i], version);
    }
    if (children) {
      XFree(children);
    }
  }
  XSync(display, False);
  XSetErrorHandler(previous);
  XCloseDisplay(display);
  return runs;
}
