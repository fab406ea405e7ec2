#pragma once

#include <functional>

#include "saver/geometry.h"
#include "settings/control.h"

// The configuration sheet's window. The host begins the sheet over its own
// window; when the sheet ends the host is told and takes the window off the
// screen. Closing the window counts as the dialog's Cancel button.
class SheetWindow : public Sheet {
 public:
  // Shows the window transient for and centred on the host's X11 window
  // `parent`, or centred on the screen when `parent` is 0 or not an X11
  // window of the sheet's display; at the place given to moveTo instead
  // when there was one. `didEnd` runs once, when the sheet ends. A sheet
  // already up is only brought to the front, keeping its didEnd.
  virtual void beginSheet(unsigned long parent, std::function<void()> didEnd) = 0;
  // The window's size on the screen in pixels, its frame aside.
  virtual Size windowSize() = 0;
  // Puts the window's top left corner at x, y on the screen, where it shows
  // from then on.
  virtual void moveTo(int x, int y) = 0;
  virtual bool isSheetUp() const = 0;
  // Takes the window off the screen.
  virtual void orderOut() = 0;
  virtual bool isVisible() const = 0;
};
