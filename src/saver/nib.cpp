#include "saver/nib.h"

void connectOutlets(Nib& nib, SheetOutlets& outlets) {
  for (const auto& [name, outlet] : kControlOutlets) {
    outlets.*outlet = nib.controlNamed(name);
  }
  outlets.WIN_sheet = nib.windowNamed(kWindowOutlet);
}
