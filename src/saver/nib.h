#pragma once

#include <functional>
#include <memory>
#include <span>
#include <string_view>

#include "saver/sheet_window.h"
#include "settings/control.h"
#include "settings/sheet_controller.h"

// A loaded sheet layout: its objects by id, the controls and the window made
// for them. Owns them; what it hands out stays valid while the nib lives.
class Nib {
 public:
  // An owner's action, sent by the signals whose handlers carry its name.
  struct Action {
    std::string_view name;
    std::function<void(Control*)> perform;
  };

  virtual ~Nib() = default;
  // The control for the object of that id, made at its first use; null when
  // there is no such object or it is no control.
  virtual Control* controlNamed(std::string_view id) = 0;
  // The window of that id; null when there is no such window.
  virtual SheetWindow* windowNamed(std::string_view id) = 0;
  // Whether any of its controls sends the action of that name.
  virtual bool sendsAction(std::string_view name) const = 0;
};

// Where a view's sheet layouts come from: the toolkit's loader on a display.
class NibLoader {
 public:
  virtual ~NibLoader() = default;
  // The nib "<name>" among the module's resources with its signals connected
  // to the actions. Nothing when there is no display, no such layout, or it
  // cannot be loaded (reported once on stderr).
  virtual std::unique_ptr<Nib> loadNibNamed(std::string_view name, std::span<const Nib::Action> actions) = 0;
};

// Connects each of the owner's outlets to the nib's object of the same name;
// an outlet without one becomes null.
void connectOutlets(Nib& nib, SheetOutlets& outlets);

// A layout that lacks an outlet or an action is damaged, as a sprite image
// that does not decode is: one warning on stderr for each outlet left null
// and each action that no control sends. The sheet goes on without them.
void reportMissingConnections(const Nib& nib, const SheetOutlets& outlets,
                              std::span<const Nib::Action> actions, std::string_view nibName);
