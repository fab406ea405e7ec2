#pragma once

// Asked while a frame is drawn, after its simulation step and every few
// dozen sprites, whether to give the frame up: the caller is ending and will
// not show it. Null asks nothing.
using StopCheck = bool (*)();

inline bool stopRequested(StopCheck stop) {
  return stop != nullptr && stop();
}
