#include "saver/nib.h"

#include <cstdio>

#include "saver/bundle.h"
#include "saver/gtk_runtime.h"

namespace {

struct SignalContext {
  Nib* nib;
  std::span<const Nib::Action> actions;
};

// What a failed load left behind: toplevel windows are GTK's until destroyed.
void discard(GtkBuilder* builder) {
  GSList* objects = gtk_builder_get_objects(builder);
  for (GSList* item = objects; item; item = item->next) {
    if (GTK_IS_WINDOW(item->data)) {
      gtk_widget_destroy(GTK_WIDGET(item->data));
    }
  }
  g_slist_free(objects);
  g_object_unref(builder);
}

}  // namespace

std::unique_ptr<Nib> Nib::loadNibNamed(std::string_view name, SheetOutlets& outlets,
                                       std::span<const Action> actions) {
  if (!startGtk()) {
    return nullptr;
  }
  const std::string file = std::string(name) + ".ui";
  const auto path = Bundle::bundleForClass().pathForResource(file);
  if (!path) {
    std::fprintf(stderr, "swirlmote: %s not found among the resources; the saver has no settings sheet\n",
                 file.c_str());
    return nullptr;
  }
  return loadNibFile(*path, outlets, actions);
}

std::unique_ptr<Nib> Nib::loadNibFile(const std::string& path, SheetOutlets& outlets,
                                      std::span<const Action> actions) {
  if (!startGtk()) {
    return nullptr;
  }
  GtkBuilder* builder = gtk_builder_new();
  GError* error = nullptr;
  if (!gtk_builder_add_from_file(builder, path.c_str(), &error)) {
    std::fprintf(stderr, "swirlmote: cannot load the settings sheet %s: %s; the saver runs without it\n",
                 path.c_str(), error->message);
    g_error_free(error);
    discard(builder);
    return nullptr;
  }
  std::unique_ptr<Nib> nib(new Nib(builder));
  nib->connectOutlets(outlets);
  SignalContext context{nib.get(), actions};
  gtk_builder_connect_signals_full(builder, connectSignal, &context);
  return nib;
}

// The controls go first, while their widgets still have the handlers they
// disconnect; then the window with everything in it.
Nib::~Nib() {
  controls_.clear();
  window_.reset();
  g_object_unref(builder_);
}

WidgetControl* Nib::controlNamed(std::string_view id) const {
  return existingControl(gtk_builder_get_object(builder_, std::string(id).c_str()));
}

WidgetControl* Nib::existingControl(GObject* object) const {
  for (const auto& control : controls_) {
    if (G_OBJECT(control->widget()) == object) {
      return control.get();
    }
  }
  return nullptr;
}

WidgetControl* Nib::controlFor(GObject* object) {
  if (!GTK_IS_WIDGET(object)) {
    return nullptr;
  }
  if (WidgetControl* existing = existingControl(object)) {
    return existing;
  }
  auto control = makeWidgetControl(GTK_WIDGET(object));
  if (!control) {
    return nullptr;
  }
  controls_.push_back(std::move(control));
  return controls_.back().get();
}

void Nib::connectOutlets(SheetOutlets& outlets) {
  for (const auto& [name, outlet] : kControlOutlets) {
    outlets.*outlet = controlFor(gtk_builder_get_object(builder_, std::string(name).c_str()));
  }
  GObject* window = gtk_builder_get_object(builder_, std::string(kWindowOutlet).c_str());
  if (GTK_IS_WINDOW(window)) {
    window_ = std::make_unique<SheetWindow>(GTK_WINDOW(window));
  }
  outlets.WIN_sheet = window_.get();
}

// A signal whose handler is none of the owner's actions, or that comes from
// no control, stays unconnected.
void Nib::connectSignal(GtkBuilder*, GObject* object, const gchar* signal, const gchar* handler, GObject*,
                        GConnectFlags, gpointer data) {
  const SignalContext* context = static_cast<const SignalContext*>(data);
  for (const Action& action : context->actions) {
    if (action.name == handler) {
      if (WidgetControl* control = context->nib->controlFor(object)) {
        control->connectAction(signal, action.perform);
      }
      return;
    }
  }
}
