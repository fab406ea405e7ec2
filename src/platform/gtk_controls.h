#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <memory>
#include <vector>

#include "settings/control.h"

// The sheet's controls over GTK widgets. Like the framework's setters, a
// change made through these operations sends no action; only the user's
// changes (or signals emitted as the user's would be) do.
class WidgetControl : public Control {
 public:
  // Holds a reference on the widget.
  explicit WidgetControl(GtkWidget* widget);
  ~WidgetControl() override;
  WidgetControl(const WidgetControl&) = delete;
  WidgetControl& operator=(const WidgetControl&) = delete;

  GtkWidget* widget() const { return widget_; }

  // Sends `action` with this control whenever the widget emits `signal`.
  void connectAction(const char* signal, std::function<void(Control*)> action);

  void setEnabled(bool enabled) override { gtk_widget_set_sensitive(widget_, enabled); }
  bool isEnabled() const override { return gtk_widget_get_sensitive(widget_); }
  // A button among a dialog's action widgets carries its response id as its
  // tag; every other control has tag 0.
  int64_t tag() const override;

 protected:
  // Runs a change made in code with the actions held back.
  void quietly(const std::function<void()>& change);

 private:
  struct Connection {
    WidgetControl* control;
    std::function<void(Control*)> action;
    gulong handler = 0;
  };
  static void send(GtkWidget*, gpointer connection);

  GtkWidget* widget_;
  std::vector<std::unique_ptr<Connection>> connections_;
};

// A GtkRange (a GtkScale): a slider.
class SliderControl : public WidgetControl {
 public:
  using WidgetControl::WidgetControl;
  // The range's adjustment keeps the value within its bounds.
  void setDoubleValue(double value) override;
  double doubleValue() const override;
};

// A GtkLabel: a display-only text field.
class TextFieldControl : public WidgetControl {
 public:
  using WidgetControl::WidgetControl;
  void setIntValue(int32_t value) override;
};

// A GtkComboBox: a pop-up button. An index outside its items selects none.
class PopUpButtonControl : public WidgetControl {
 public:
  using WidgetControl::WidgetControl;
  void selectItemAtIndex(int64_t index) override;
  int64_t indexOfSelectedItem() const override;
};

// A GtkColorButton: a colour well, alpha included.
class ColorWellControl : public WidgetControl {
 public:
  using WidgetControl::WidgetControl;
  void setColor(ColorRGBA color) override;
  ColorRGBA color() const override;
};

// A GtkToggleButton (a GtkCheckButton): a switch, on at any state but 0.
class SwitchControl : public WidgetControl {
 public:
  using WidgetControl::WidgetControl;
  void setState(int64_t state) override;
  int64_t state() const override;
};

// The control for a widget by its kind: one of the above, a plain control
// for a push button, nothing for a widget that is no control.
std::unique_ptr<WidgetControl> makeWidgetControl(GtkWidget* widget);
