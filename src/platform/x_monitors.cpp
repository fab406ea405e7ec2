#include "platform/x_monitors.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

std::vector<DisplayArea> xMonitorBounds() {
  std::vector<DisplayArea> bounds;
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    return bounds;
  }
  int eventBase = 0;
  int errorBase = 0;
  int major = 0;
  int minor = 0;
  if (XRRQueryExtension(display, &eventBase, &errorBase) && XRRQueryVersion(display, &major, &minor) &&
      (major > 1 || (major == 1 && minor >= 5))) {
    int count = 0;
    if (XRRMonitorInfo* monitors = XRRGetMonitors(display, DefaultRootWindow(display), True, &count)) {
      for (int i = 0; i < count; ++i) {
        bounds.push_back({monitors[i].x, monitors[i].y, monitors[i].width, monitors[i].height});
      }
      XRRFreeMonitors(monitors);
    }
  }
  XCloseDisplay(display);
  return bounds;
}
