#include "platform/sheet_preview_surface.h"

#include <gtk/gtk.h>

#include "platform/cairo_frame.h"
#include "platform/gtk_nib.h"

namespace {

// The sheet layout's margin around its controls.
constexpr int kMargin = 18;

}  // namespace

// A drawing area of the preview's size, held from its making; the sheet's
// window destroys it with itself, and the area lets go of it.
struct SheetPreviewSurface::Area {
  explicit Area(Size size) : widget(GTK_WIDGET(g_object_ref_sink(gtk_drawing_area_new()))) {
    gtk_widget_set_size_request(widget, static_cast<int>(size.width), static_cast<int>(size.height));
    gtk_widget_set_valign(widget, GTK_ALIGN_CENTER);
    gtk_widget_set_margin_start(widget, kMargin);
    gtk_widget_set_margin_top(widget, kMargin);
    gtk_widget_set_margin_bottom(widget, kMargin);
    drawHandler = g_signal_connect(widget, "draw", G_CALLBACK(draw), this);
  }
  // A widget destroyed with the sheet's window has lost its handlers.
  ~Area() {
    if (g_signal_handler_is_connected(widget, drawHandler)) {
      g_signal_handler_disconnect(widget, drawHandler);
    }
    g_object_unref(widget);
    if (image) {
      cairo_surface_destroy(image);
    }
  }
  Area(const Area&) = delete;
  Area& operator=(const Area&) = delete;

  static gboolean draw(GtkWidget*, cairo_t* cairo, gpointer self) {
    cairo_surface_t* image = static_cast<Area*>(self)->image;
    // Black until the first frame.
    cairo_set_operator(cairo, CAIRO_OPERATOR_SOURCE);
    if (image) {
      cairo_set_source_surface(cairo, image, 0, 0);
    } else {
      cairo_set_source_rgb(cairo, 0, 0, 0);
    }
    cairo_paint(cairo);
    return TRUE;
  }

  GtkWidget* widget;
  unsigned long drawHandler;
  // The latest frame in cairo's own pixel layout; null before the first.
  cairo_surface_t* image = nullptr;
};

SheetPreviewSurface::SheetPreviewSurface(Size size) : size_(size), nibs_(std::make_unique<GtkNibLoader>()) {}

SheetPreviewSurface::~SheetPreviewSurface() = default;

SaverBackends SheetPreviewSurface::backends() {
  SaverBackends backends = HeadlessSurface::backends();
  backends.nibs = nibs_.get();
  return backends;
}

// The window's one child, the controls with their buttons, moves into a row
// after the preview.
bool SheetPreviewSurface::placeIn(SheetWindow& sheet) {
  auto* gtkSheet = dynamic_cast<GtkSheetWindow*>(&sheet);
  if (!gtkSheet || area_) {
    return false;
  }
  area_ = std::make_unique<Area>(size_);
  GtkWidget* window = GTK_WIDGET(gtkSheet->gtkWindow());
  GtkWidget* controls = gtk_bin_get_child(GTK_BIN(window));
  GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
  gtk_box_pack_start(GTK_BOX(row), area_->widget, FALSE, FALSE, 0);
  if (controls) {
    g_object_ref(controls);
    gtk_container_remove(GTK_CONTAINER(window), controls);
    gtk_box_pack_start(GTK_BOX(row), controls, TRUE, TRUE, 0);
    g_object_unref(controls);
  }
  gtk_container_add(GTK_CONTAINER(window), row);
  gtk_widget_show(area_->widget);
  gtk_widget_show(row);
  return true;
}

bool SheetPreviewSurface::canBeSeen() const {
  return area_ && gtk_widget_get_mapped(area_->widget);
}

bool SheetPreviewSurface::present(OpenGLContext& context) {
  if (area_ && readBack(context)) {
    copyFrameToCairo(frame(), frameWidth(), frameHeight(), 1, area_->image);
    gtk_widget_queue_draw(area_->widget);
  }
  return true;
}

bool SheetPreviewSurface::shownFrame(OpenGLContext&, std::vector<uint8_t>& rgba, int& width, int& height) {
  return lastFrame(rgba, width, height);
}
