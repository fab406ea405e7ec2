#pragma once

#include <GL/gl.h>

#include "render/stop_check.h"

// Hands a frame's sprites to GL in batches and looks at the stop check after
// each one: the classic path counts its sprites one draw call at a time, the
// batched path draws a batch's sprites with one call.
//
// Each classic sprite sets its colour between draws, and the fixed-function
// pipeline reads a colour that no vertex carries as a fragment-stage
// constant, so every sprite brings its own fragment state into the driver's
// queue. A software rasteriser (llvmpipe) bins a whole frame's sprites long
// before its threads have filled them: at 10 × 200 with afterimages that
// queue alone held over 300 MiB. A fence after every batch, and a wait for
// the fence one batch back, bounds it while the rasteriser keeps the
// newest batch to work on. Each batch is flushed, so that the pixels are
// being filled while the next batch is sent and a stop request is noticed
// after a few milliseconds of filling rather than at the frame's end. Only
// when the CPU waits changes; the calls that draw, and so the pixels, stay
// the same.
class SpriteBatches {
 public:
  static constexpr unsigned kSpritesPerBatch = 250;

  explicit SpriteBatches(StopCheck stop);
  ~SpriteBatches();
  SpriteBatches(const SpriteBatches&) = delete;
  SpriteBatches& operator=(const SpriteBatches&) = delete;

  // Called after each sprite's draw call; false when the frame is to be
  // given up.
  bool spriteDrawn();
  // Called after the draw call of a whole batch; false when the frame is to
  // be given up.
  bool batchDrawn();
  // Whether the queue is bounded: contexts without sync objects draw
  // unbounded.
  bool bounding() const { return available_; }

 private:
  StopCheck stop_;
  bool available_;  // the context has sync objects (GL 3.2 or ARB_sync)
  unsigned sprites_ = 0;
  GLsync older_ = nullptr;
  GLsync newer_ = nullptr;
};
