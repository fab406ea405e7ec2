#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "saver/gtk_controls.h"
#include "saver/sheet_window.h"
#include "settings/sheet_controller.h"

// The sheet's layout loaded from a GtkBuilder file, with its owner's outlets
// connected to the objects of the same ids and its owner's actions to the
// signals whose handlers carry the actions' names. Owns the window and the
// controls; the outlets stay valid while the nib lives.
class Nib {
 public:
  struct Action {
    std::string_view name;
    std::function<void(Control*)> perform;
  };

  // The nib "<name>.ui" among the module's resources. Nothing, with the
  // outlets left as they are, when there is no display, no such file, or the
  // file cannot be loaded (reported once on stderr).
  static std::unique_ptr<Nib> loadNibNamed(std::string_view name, SheetOutlets& outlets,
                                           std::span<const Action> actions);
  static std::unique_ptr<Nib> loadNibFile(const std::string& path, SheetOutlets& outlets,
                                          std::span<const Action> actions);

  ~Nib();
  Nib(const Nib&) = delete;
  Nib& operator=(const Nib&) = delete;

  SheetWindow* window() const { return window_.get(); }
  // The control made for the object of that id, if it is one.
  WidgetControl* controlNamed(std::string_view id) const;

 private:
  explicit Nib(GtkBuilder* builder) : builder_(builder) {}
  WidgetControl* existingControl(GObject* object) const;
  // The control for a widget, made at its first use.
  WidgetControl* controlFor(GObject* object);
  void connectOutlets(SheetOutlets& outlets);
  static void connectSignal(GtkBuilder*, GObject* object, const gchar* signal, const gchar* handler, GObject*,
                            GConnectFlags, gpointer context);

  GtkBuilder* builder_;
  std::unique_ptr<SheetWindow> window_;
  std::vector<std::unique_ptr<WidgetControl>> controls_;
};
