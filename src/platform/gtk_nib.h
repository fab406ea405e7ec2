#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gtk_controls.h"
#include "platform/gtk_sheet_window.h"
#include "saver/nib.h"

// A sheet layout loaded from a GtkBuilder file; an object's control or
// window is made at its first use.
class GtkNib : public Nib {
 public:
  ~GtkNib() override;
  GtkNib(const GtkNib&) = delete;
  GtkNib& operator=(const GtkNib&) = delete;

  WidgetControl* controlNamed(std::string_view id) override;
  GtkSheetWindow* windowNamed(std::string_view id) override;
  bool sendsAction(std::string_view name) const override;

 private:
  friend class GtkNibLoader;
  explicit GtkNib(GtkBuilder* builder) : builder_(builder) {}
  GObject* objectNamed(std::string_view id) const;
  WidgetControl* controlFor(GObject* object);
  static void connectSignal(GtkBuilder*, GObject* object, const gchar* signal, const gchar* handler, GObject*,
                            GConnectFlags, gpointer context);

  GtkBuilder* builder_;
  std::vector<std::unique_ptr<GtkSheetWindow>> windows_;
  std::vector<std::unique_ptr<WidgetControl>> controls_;
  // The actions some control's signal was connected to.
  std::set<std::string, std::less<>> actionsSent_;
};

// GtkBuilder layouts, "<name>.ui" among the module's resources. GTK comes up
// at the first load.
class GtkNibLoader : public NibLoader {
 public:
  std::unique_ptr<Nib> loadNibNamed(std::string_view name, std::span<const Nib::Action> actions) override;
  // The layout in that file; nothing when there is no display or the file
  // cannot be loaded (reported once on stderr).
  static std::unique_ptr<GtkNib> loadNibFile(const std::string& path, std::span<const Nib::Action> actions);
};
