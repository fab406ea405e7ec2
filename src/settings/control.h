#pragma once

#include <cstdint>

#include "simulation/vector.h"

// A control of the configuration sheet as the sheet's logic sees it, free of
// any widget toolkit. Each kind of control overrides the operations it has;
// the others ignore what they are given and read as 0.
class Control {
 public:
  virtual ~Control() = default;

  virtual void setDoubleValue(double) {}
  virtual double doubleValue() const { return 0.0; }
  virtual void setIntValue(int32_t) {}
  // Pop-up buttons count their items from 0; -1 is no selection.
  virtual void selectItemAtIndex(int64_t) {}
  virtual int64_t indexOfSelectedItem() const { return 0; }
  virtual void setColor(ColorRGBA) {}
  virtual ColorRGBA color() const { return {}; }
  // A switch that is on has state 1.
  virtual void setState(int64_t) {}
  virtual int64_t state() const { return 0; }
  virtual void setEnabled(bool) {}
  virtual bool isEnabled() const { return false; }
  virtual int64_t tag() const { return 0; }
};

// The window the sheet's controls live in.
class Sheet {
 public:
  virtual ~Sheet() = default;
  // Ends the window's sheet: the host that began it is told, and takes it off
  // the screen. A window that is not up as a sheet ignores it.
  virtual void endSheet() = 0;
};

// The operations on an outlet, which may be absent: an absent control does
// nothing and reads as 0.
namespace outlet {

inline void setDoubleValue(Control* c, double value) {
  if (c) c->setDoubleValue(value);
}
inline double doubleValue(const Control* c) {
  return c ? c->doubleValue() : 0.0;
}
inline void setIntValue(Control* c, int32_t value) {
  if (c) c->setIntValue(value);
}
inline void selectItemAtIndex(Control* c, int64_t index) {
  if (c) c->selectItemAtIndex(index);
}
inline int64_t indexOfSelectedItem(const Control* c) {
  return c ? c->indexOfSelectedItem() : 0;
}
inline void setColor(Control* c, ColorRGBA color) {
  if (c) c->setColor(color);
}
inline ColorRGBA color(const Control* c) {
  return c ? c->color() : ColorRGBA{};
}
inline void setState(Control* c, int64_t state) {
  if (c) c->setState(state);
}
inline int64_t state(const Control* c) {
  return c ? c->state() : 0;
}
inline void setEnabled(Control* c, bool enabled) {
  if (c) c->setEnabled(enabled);
}
inline bool isEnabled(const Control* c) {
  return c && c->isEnabled();
}
inline int64_t tag(const Control* c) {
  return c ? c->tag() : 0;
}
inline void endSheet(Sheet* w) {
  if (w) w->endSheet();
}

}  // namespace outlet
