#pragma once

#include <GL/gl.h>

// Keeps the classic path's command stream at most two batches of sprites
// ahead of the rasteriser within a frame.
//
// Each classic sprite sets its colour between draws, and the fixed-function
// pipeline reads a colour that no vertex carries as a fragment-stage
// constant, so every sprite brings its own fragment state into the driver's
// queue. A software rasteriser (llvmpipe) bins a whole frame's sprites long
// before its threads have filled them: at 10 × 200 with afterimages that
// queue alone held over 300 MiB. A fence after every batch, and a wait for
// the fence one batch back, bounds it while the rasteriser keeps the
// newest batch to work on. Only when the CPU waits changes; the calls that
// draw, and so the pixels, stay the same.
class SpriteFences {
 public:
  static constexpr unsigned kSpritesPerBatch = 250;

  SpriteFences();
  ~SpriteFences();
  SpriteFences(const SpriteFences&) = delete;
  SpriteFences& operator=(const SpriteFences&) = delete;

  // Called after each sprite's draw call.
  void spriteDrawn();
  // Whether the bound is kept: contexts without sync objects draw unbounded.
  bool bounding() const { return available_; }

 private:
  bool available_;  // the context has sync objects (GL 3.2 or ARB_sync)
  unsigned sprites_ = 0;
  GLsync older_ = nullptr;
  GLsync newer_ = nullptr;
};
