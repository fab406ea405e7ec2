#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <optional>

#include "saver/sheet_window.h"

// The configuration sheet's window as a GTK toplevel. Its close box and
// Escape count as the dialog's Cancel button.
class GtkSheetWindow : public SheetWindow {
 public:
  // Holds a reference on the window; destroys it at the end.
  explicit GtkSheetWindow(GtkWindow* window);
  ~GtkSheetWindow() override;
  GtkSheetWindow(const GtkSheetWindow&) = delete;
  GtkSheetWindow& operator=(const GtkSheetWindow&) = delete;

  void beginSheet(unsigned long parent, std::function<void()> didEnd) override;
  void endSheet() override;
  Size windowSize() override;
  void moveTo(int x, int y) override;
  bool isSheetUp() const override { return static_cast<bool>(didEnd_); }
  void orderOut() override;
  bool isVisible() const override;
  GtkWindow* gtkWindow() const { return window_; }

 private:
  static int closeRequested(GtkWidget*, GdkEvent*, void* self);
  void placeOver(unsigned long parent);

  struct Place {
    int x;
    int y;
  };

  GtkWindow* window_;
  unsigned long deleteHandler_;
  std::function<void()> didEnd_;
  std::optional<Place> place_;  // chosen with moveTo
};
