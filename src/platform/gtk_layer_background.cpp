#include "platform/gtk_layer_background.h"

#include <gtk-layer-shell.h>

#include "platform/cairo_frame.h"
#include "platform/gtk_compositor_watch.h"
#include "platform/gtk_runtime.h"
#include "platform/wayland_compositor.h"

namespace {

std::function<void(std::unique_ptr<LayerBackground>)> outputAdded;

}  // namespace

bool LayerBackground::startGtkOnLayerShell() {
  // Asked on a connection of our own first, so that GTK and gtk-layer-shell
  // say nothing of a compositor that lacks the protocol.
  const auto offers = WaylandCompositor::connect();
  if (!offers || !offers->hasLayerShell()) {
    return false;
  }
  // Only a Wayland compositor has a background layer: GDK is kept from
  // falling back to an X display.
  gdk_set_allowed_backends("wayland");
  if (!startGtk() || !gtk_layer_is_supported()) {
    return false;
  }
  watchGtkCompositor();
  return true;
}

std::vector<std::unique_ptr<LayerBackground>> LayerBackground::onEveryOutput() {
  std::vector<std::unique_ptr<LayerBackground>> windows;
  GdkDisplay* display = gdk_display_get_default();
  const int monitors = gdk_display_get_n_monitors(display);
  for (int i = 0; i < monitors; ++i) {
    windows.push_back(
        std::unique_ptr<LayerBackground>(new LayerBackground(gdk_display_get_monitor(display, i))));
  }
  return windows;
}

void LayerBackground::onOutputsAdded(std::function<void(std::unique_ptr<LayerBackground>)> added) {
  outputAdded = std::move(added);
  g_signal_connect(gdk_display_get_default(), "monitor-added", G_CALLBACK(monitorAdded), nullptr);
}

void LayerBackground::monitorAdded(GdkDisplay*, GdkMonitor* monitor, gpointer) {
  outputAdded(std::unique_ptr<LayerBackground>(new LayerBackground(monitor)));
}

LayerBackground::LayerBackground(GdkMonitor* monitor) : window_(gtk_window_new(GTK_WINDOW_TOPLEVEL)) {
  GtkWindow* window = GTK_WINDOW(window_);
  gtk_window_set_title(window, "Swirlmote");
  gtk_layer_init_for_window(window);
  gtk_layer_set_namespace(window, "wallpaper");
  gtk_layer_set_layer(window, GTK_LAYER_SHELL_LAYER_BACKGROUND);
  gtk_layer_set_monitor(window, monitor);
  for (const GtkLayerShellEdge edge : {GTK_LAYER_SHELL_EDGE_LEFT, GTK_LAYER_SHELL_EDGE_RIGHT,
                                       GTK_LAYER_SHELL_EDGE_TOP, GTK_LAYER_SHELL_EDGE_BOTTOM}) {
    gtk_layer_set_anchor(window, edge, TRUE);
  }
  // Over the whole output, panels' reserved room included.
  gtk_layer_set_exclusive_zone(window, -1);
  gtk_layer_set_keyboard_mode(window, GTK_LAYER_SHELL_KEYBOARD_MODE_NONE);
  // The frame covers the window: no theme background under it.
  gtk_widget_set_app_paintable(window_, TRUE);
  g_signal_connect(window_, "draw", G_CALLBACK(draw), this);
  g_signal_connect(window_, "configure-event", G_CALLBACK(configure), this);
  // The compositor closes the surface of an output that has gone; the
  // window stays until its owner destroys it.
  g_signal_connect(window_, "delete-event", G_CALLBACK(closedByCompositor), this);
  gtk_widget_show(window_);
}

LayerBackground::~LayerBackground() {
  gtk_widget_destroy(window_);
  if (frame_) {
    cairo_surface_destroy(frame_);
  }
}

int LayerBackground::pixelWidth() const {
  return width_ * gtk_widget_get_scale_factor(window_);
}

int LayerBackground::pixelHeight() const {
  return height_ * gtk_widget_get_scale_factor(window_);
}

void LayerBackground::show(const std::vector<uint8_t>& rgba, int width, int height) {
  copyFrameToCairo(rgba, width, height, gtk_widget_get_scale_factor(window_), frame_);
  gtk_widget_queue_draw(window_);
  awaitingDraw_ = true;
}

gboolean LayerBackground::configure(GtkWidget*, GdkEventConfigure* event, gpointer self) {
  auto* background = static_cast<LayerBackground*>(self);
  background->width_ = event->width;
  background->height_ = event->height;
  return FALSE;
}

gboolean LayerBackground::closedByCompositor(GtkWidget*, GdkEvent*, gpointer self) {
  static_cast<LayerBackground*>(self)->closed_ = true;
  return TRUE;
}

gboolean LayerBackground::draw(GtkWidget*, cairo_t* cairo, gpointer self) {
  auto* background = static_cast<LayerBackground*>(self);
  background->awaitingDraw_ = false;
  cairo_surface_t* frame = background->frame_;
  // Black until the first frame.
  cairo_set_operator(cairo, CAIRO_OPERATOR_SOURCE);
  if (frame) {
    cairo_set_source_surface(cairo, frame, 0, 0);
  } else {
    cairo_set_source_rgb(cairo, 0, 0, 0);
  }
  cairo_paint(cairo);
  return TRUE;
}
