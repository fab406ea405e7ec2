#include "platform/gtk_controls.h"

#include <string>

WidgetControl::WidgetControl(GtkWidget* widget) : widget_(GTK_WIDGET(g_object_ref(widget))) {}

WidgetControl::~WidgetControl() {
  for (const auto& connection : connections_) {
    g_signal_handler_disconnect(widget_, connection->handler);
  }
  g_object_unref(widget_);
}

void WidgetControl::connectAction(const char* signal, std::function<void(Control*)> action) {
  auto connection = std::make_unique<Connection>(Connection{this, std::move(action)});
  connection->handler = g_signal_connect(widget_, signal, G_CALLBACK(send), connection.get());
  connections_.push_back(std::move(connection));
}

void WidgetControl::send(GtkWidget*, gpointer data) {
  const Connection* connection = static_cast<const Connection*>(data);
  connection->action(connection->control);
}

int64_t WidgetControl::tag() const {
  GtkWidget* toplevel = gtk_widget_get_toplevel(widget_);
  if (!GTK_IS_DIALOG(toplevel)) {
    return 0;
  }
  const gint response = gtk_dialog_get_response_for_widget(GTK_DIALOG(toplevel), widget_);
  return response == GTK_RESPONSE_NONE ? 0 : response;
}

void WidgetControl::quietly(const std::function<void()>& change) {
  for (const auto& connection : connections_) {
    g_signal_handler_block(widget_, connection->handler);
  }
  change();
  for (const auto& connection : connections_) {
    g_signal_handler_unblock(widget_, connection->handler);
  }
}

void SliderControl::setDoubleValue(double value) {
  quietly([&] { gtk_range_set_value(GTK_RANGE(widget()), value); });
}

double SliderControl::doubleValue() const {
  return gtk_range_get_value(GTK_RANGE(widget()));
}

void TextFieldControl::setIntValue(int32_t value) {
  gtk_label_set_text(GTK_LABEL(widget()), std::to_string(value).c_str());
}

void PopUpButtonControl::selectItemAtIndex(int64_t index) {
  GtkComboBox* box = GTK_COMBO_BOX(widget());
  const gint items = gtk_tree_model_iter_n_children(gtk_combo_box_get_model(box), nullptr);
  const gint active = index >= 0 && index < items ? static_cast<gint>(index) : -1;
  quietly([&] { gtk_combo_box_set_active(box, active); });
}

int64_t PopUpButtonControl::indexOfSelectedItem() const {
  return gtk_combo_box_get_active(GTK_COMBO_BOX(widget()));
}

void ColorWellControl::setColor(ColorRGBA color) {
  const GdkRGBA rgba{color.r, color.g, color.b, color.a};
  quietly([&] { gtk_color_chooser_set_rgba(GTK_COLOR_CHOOSER(widget()), &rgba); });
}

ColorRGBA ColorWellControl::color() const {
  GdkRGBA rgba;
  gtk_color_chooser_get_rgba(GTK_COLOR_CHOOSER(widget()), &rgba);
  return {static_cast<float>(rgba.red), static_cast<float>(rgba.green), static_cast<float>(rgba.blue),
          static_cast<float>(rgba.alpha)};
}

void SwitchControl::setState(int64_t state) {
  quietly([&] { gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(widget()), state != 0); });
}

int64_t SwitchControl::state() const {
  return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget())) ? 1 : 0;
}

std::unique_ptr<WidgetControl> makeWidgetControl(GtkWidget* widget) {
  // Colour and toggle buttons are buttons too: the narrower kinds first.
  if (GTK_IS_RANGE(widget)) return std::make_unique<SliderControl>(widget);
  if (GTK_IS_LABEL(widget)) return std::make_unique<TextFieldControl>(widget);
  if (GTK_IS_COMBO_BOX(widget)) return std::make_unique<PopUpButtonControl>(widget);
  if (GTK_IS_COLOR_BUTTON(widget)) return std::make_unique<ColorWellControl>(widget);
  if (GTK_IS_TOGGLE_BUTTON(widget)) return std::make_unique<SwitchControl>(widget);
  if (GTK_IS_BUTTON(widget)) return std::make_unique<WidgetControl>(widget);
  return nullptr;
}
