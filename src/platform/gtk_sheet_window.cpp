#include "platform/gtk_sheet_window.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <utility>

GtkSheetWindow::GtkSheetWindow(GtkWindow* window)
    : window_(GTK_WINDOW(g_object_ref(window))),
      deleteHandler_(g_signal_connect(window, "delete-event", G_CALLBACK(closeRequested), this)) {}

GtkSheetWindow::~GtkSheetWindow() {
  g_signal_handler_disconnect(window_, deleteHandler_);
  gtk_widget_destroy(GTK_WIDGET(window_));
  g_object_unref(window_);
}

void GtkSheetWindow::beginSheet(unsigned long parent, std::function<void()> didEnd) {
  if (isSheetUp()) {
    gtk_window_present(window_);
    return;
  }
  didEnd_ = std::move(didEnd);
  gtk_widget_realize(GTK_WIDGET(window_));
  placeOver(parent);
  gtk_window_present(window_);
}

void GtkSheetWindow::endSheet() {
  if (didEnd_) {
    std::exchange(didEnd_, nullptr)();
  }
}

Size GtkSheetWindow::windowSize() {
  gtk_widget_realize(GTK_WIDGET(window_));
  int width = 0;
  int height = 0;
  gtk_window_get_size(window_, &width, &height);
  return Size{static_cast<double>(width), static_cast<double>(height)};
}

void GtkSheetWindow::moveTo(int x, int y) {
  place_ = Place{x, y};
  gtk_window_move(window_, x, y);
}

void GtkSheetWindow::orderOut() {
  gtk_widget_hide(GTK_WIDGET(window_));
}

bool GtkSheetWindow::isVisible() const {
  return gtk_widget_get_visible(GTK_WIDGET(window_));
}

void GtkSheetWindow::placeOver(unsigned long parent) {
  GdkDisplay* display = gtk_widget_get_display(GTK_WIDGET(window_));
  GdkWindow* host = parent && GDK_IS_X11_DISPLAY(display)
                        ? gdk_x11_window_foreign_new_for_display(display, parent)
                        : nullptr;
  if (host) {
    gdk_window_set_transient_for(gtk_widget_get_window(GTK_WIDGET(window_)), host);
  }
  // A place given with moveTo stands.
  if (!place_ && host) {
    int x = 0;
    int y = 0;
    gdk_window_get_origin(host, &x, &y);
    const Size size = windowSize();
    gtk_window_move(window_, x + (gdk_window_get_width(host) - static_cast<int>(size.width)) / 2,
                    y + (gdk_window_get_height(host) - static_cast<int>(size.height)) / 2);
  } else if (!place_) {
    gtk_window_set_position(window_, GTK_WIN_POS_CENTER);
  }
  if (host) {
    g_object_unref(host);
  }
}

// A close request ends the sheet as Cancel would, through the dialog's
// cancel button when it has one; the window itself stays.
int GtkSheetWindow::closeRequested(GtkWidget*, GdkEvent*, void* self) {
  GtkSheetWindow* sheet = static_cast<GtkSheetWindow*>(self);
  GtkWidget* cancel = GTK_IS_DIALOG(sheet->window_) ? gtk_dialog_get_widget_for_response(
                                                          GTK_DIALOG(sheet->window_), GTK_RESPONSE_CANCEL)
                                                    : nullptr;
  if (cancel) {
    gtk_button_clicked(GTK_BUTTON(cancel));
  } else {
    sheet->endSheet();
  }
  return TRUE;
}
