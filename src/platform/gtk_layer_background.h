#pragma once

#include <gtk/gtk.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// A wallpaper window on one output: a surface of the layer-shell background
// layer, under every ordinary window, anchored to all four edges, taking no
// keyboard and no room from other surfaces. It shows the frames it is given.
class LayerBackground {
 public:
  // Brings GTK up on the Wayland compositor that WAYLAND_DISPLAY names;
  // false when there is none, or when it lacks the layer-shell protocol.
  // From then on the compositor's end is noticed by gtkCompositorLost rather
  // than by GTK, which would end the process with status 1.
  static bool startGtkOnLayerShell();
  // A window on each output the compositor has now, in GDK's order.
  static std::vector<std::unique_ptr<LayerBackground>> onEveryOutput();
  // From now on, each output the compositor gains gets a window of its own,
  // handed to added as GTK's events are run.
  static void onOutputsAdded(std::function<void(std::unique_ptr<LayerBackground>)> added);
  ~LayerBackground();
  LayerBackground(const LayerBackground&) = delete;
  LayerBackground& operator=(const LayerBackground&) = delete;

  // The surface's size in pixels (its size in points times the output's
  // scale) as the compositor last gave it; zero until it has.
  int pixelWidth() const;
  int pixelHeight() const;
  // Whether the compositor has taken the surface away, as it does when its
  // output goes: the window is then only to be destroyed.
  bool closed() const { return closed_; }
  // Takes the window away as the compositor would.
  void close() { closed_ = true; }
  // Shows a frame of RGBA rows from the top at the next redraw, pixel for
  // pixel. The wallpaper is opaque: the frame's alpha is left out.
  void show(const std::vector<uint8_t>& rgba, int width, int height);
  // Whether the frame shown last has been drawn on the surface. GTK's frame
  // clock draws only once the compositor has asked for a frame, which it
  // does not while nothing shows the surface (a full-screen window covers
  // it, its output is off).
  bool frameWanted() const { return !awaitingDraw_; }

 private:
  explicit LayerBackground(GdkMonitor* monitor);
  static gboolean draw(GtkWidget* widget, cairo_t* cairo, gpointer self);
  static gboolean configure(GtkWidget* widget, GdkEventConfigure* event, gpointer self);
  static gboolean closedByCompositor(GtkWidget* widget, GdkEvent* event, gpointer self);
  static void monitorAdded(GdkDisplay* display, GdkMonitor* monitor, gpointer unused);

  GtkWidget* window_;
  // The size in points from the compositor's latest configure. GTK first
  // lays the window out at a default size of its own, before the
  // compositor has answered.
  int width_ = 0;
  int height_ = 0;
  bool closed_ = false;
  // A frame has been shown and not yet drawn.
  bool awaitingDraw_ = false;
  // The latest frame, in cairo's own pixel layout; null before the first.
  cairo_surface_t* frame_ = nullptr;
};
