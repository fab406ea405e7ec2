#include "platform/gtk_nib.h"

#include <cstdio>

#include "platform/gtk_runtime.h"
#include "saver/bundle.h"

namespace {

struct SignalContext {
  GtkNib* nib;
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

std::unique_ptr<Nib> GtkNibLoader::loadNibNamed(std::string_view name, std::span<const Nib::Action> actions) {
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
  return loadNibFile(*path, actions);
}

std::unique_ptr<GtkNib> GtkNibLoader::loadNibFile(const std::string& path,
                                                  std::span<const Nib::Action> actions) {
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
  std::unique_ptr<GtkNib> nib(new GtkNib(builder));
  SignalContext context{nib.get(), actions};
  gtk_builder_connect_signals_full(builder, GtkNib::connectSignal, &context);
  return nib;
}

// The controls go first, while their widgets still have the handlers they
// disconnect; then the windows with everything in them.
GtkNib::~GtkNib() {
  controls_.clear();
  windows_.clear();
  g_object_unref(builder_);
}

GObject* GtkNib::objectNamed(std::string_view id) const {
  return gtk_builder_get_object(builder_, std::string(id).c_str());
}

WidgetControl* GtkNib::controlNamed(std::string_view id) {
  return controlFor(objectNamed(id));
}

GtkSheetWindow* GtkNib::windowNamed(std::string_view id) {
  GObject* object = objectNamed(id);
  if (!GTK_IS_WINDOW(object)) {
    return nullptr;
  }
  for (const auto& window : windows_) {
    if (G_OBJECT(window->gtkWindow()) == object) {
      return window.get();
    }
  }
  windows_.push_back(std::make_unique<GtkSheetWindow>(GTK_WINDOW(object)));
  return windows_.back().get();
}

bool GtkNib::sendsAction(std::string_view name) const {
  return actionsSent_.contains(name);
}

WidgetControl* GtkNib::controlFor(GObject* object) {
  if (!GTK_IS_WIDGET(object)) {
    return nullptr;
  }
  for (const auto& control : controls_) {
    if (G_OBJECT(control->widget()) == object) {
      return control.get();
    }
  }
  auto control = makeWidgetControl(GTK_WIDGET(object));
  if (!control) {
    return nullptr;
  }
  controls_.push_back(std::move(control));
  return controls_.back().get();
}

// A signal whose handler is none of the owner's actions, or that comes from
// no control, stays unconnected.
void GtkNib::connectSignal(GtkBuilder*, GObject* object, const gchar* signal, const gchar* handler, GObject*,
                           GConnectFlags, gpointer data) {
  const SignalContext* context = static_cast<const SignalContext*>(data);
  for (const Nib::Action& action : context->actions) {
    if (action.name == handler) {
      if (WidgetControl* control = context->nib->controlFor(object)) {
        control->connectAction(signal, action.perform);
        context->nib->actionsSent_.emplace(action.name);
      }
      return;
    }
  }
}
