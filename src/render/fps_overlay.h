#pragma once

#include <optional>

// What the frame rate overlay shows.
struct FrameRateFigures {
  double framesPerSecond;
  // The share of each frame interval spent drawing: 1 is all of it, and
  // more when frames take longer than their interval.
  double load;
};

// Draws the figures ("FPS: 59.9", "LOAD: 23%", dashes before any are known)
// in a dark box at the bottom-left corner of the viewport, over the frame on
// the current context, in glyphs scaled to the viewport's height. Every piece
// of GL state it changes is restored, so that the next frame draws as if it
// had not been there.
void drawFrameRateOverlay(const std::optional<FrameRateFigures>& figures);
