#include "saver/nib.h"

#include <cstdio>
#include <string>

void connectOutlets(Nib& nib, SheetOutlets& outlets) {
  for (const auto& [name, outlet] : kControlOutlets) {
    outlets.*outlet = nib.controlNamed(name);
  }
  outlets.WIN_sheet = nib.windowNamed(kWindowOutlet);
}

void reportMissingConnections(const Nib& nib, const SheetOutlets& outlets,
                              std::span<const Nib::Action> actions, std::string_view nibName) {
  const std::string sheet(nibName);
  for (const auto& [name, outlet] : kControlOutlets) {
    if (!(outlets.*outlet)) {
      const std::string id(name);
      std::fprintf(stderr, "swirlmote: the settings sheet %s has no control %s; the sheet goes without it\n",
                   sheet.c_str(), id.c_str());
    }
  }
  if (!outlets.WIN_sheet) {
    const std::string id(kWindowOutlet);
    std::fprintf(stderr, "swirlmote: the settings sheet %s has no window %s; there is no sheet to show\n",
                 sheet.c_str(), id.c_str());
  }
  for (const Nib::Action& action : actions) {
    if (!nib.sendsAction(action.name)) {
      const std::string name(action.name);
      std::fprintf(stderr,
                   "swirlmote: no control of the settings sheet %s sends %s; the sheet goes without it\n",
                   sheet.c_str(), name.c_str());
    }
  }
}
