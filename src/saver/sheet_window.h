#pragma once

#include <functional>

#include "settings/control.h"

// GTK's own declarations, so that the host needs no GTK headers.
typedef struct _GtkWindow GtkWindow;
typedef struct _GtkWidget GtkWidget;
typedef union _GdkEvent GdkEvent;

// The configuration sheet's window, a GTK toplevel. The host begins the sheet
// over its own window; when the sheet ends the host is told and takes the
// window off the screen. Closing the window (its close box, Escape) counts
// as the dialog's Cancel button.
class SheetWindow : public Sheet {
 public:
  // Holds a reference on the window; destroys it at the end.
  explicit SheetWindow(GtkWindow* window);
  ~SheetWindow() override;
  SheetWindow(const SheetWindow&) = delete;
  SheetWindow& operator=(const SheetWindow&) = delete;

  // Shows the window transient for and centred on the host's X11 window
  // `parent`, or centred on the screen when `parent` is 0 or not an X11
  // window of the sheet's display. `didEnd` runs once, when the sheet ends.
  // A sheet already up is only brought to the front, keeping its didEnd.
  void beginSheet(unsigned long parent, std::function<void()> didEnd);
  void endSheet() override;
  bool isSheetUp() const { return static_cast<bool>(didEnd_); }

  // Takes the window off the screen.
  void orderOut();
  bool isVisible() const;
  GtkWindow* gtkWindow() const { return window_; }

 private:
  static int closeRequested(GtkWidget*, GdkEvent*, void* self);
  void placeOver(unsigned long parent);

  GtkWindow* window_;
  unsigned long deleteHandler_;
  std::function<void()> didEnd_;
};
