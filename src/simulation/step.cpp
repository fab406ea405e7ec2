#include "simulation/field.h"

void Field::step() {
  model_handle_events();
  model_handle_particles();
  if (show_ai == 1) {
    model_handle_afterimage();
  }
}
