#pragma once

#include "render/sprite_drawer.h"

// Each sprite with its own matrix, colour and call of the sprite quad's
// list, handed to GL in fenced batches that look at the stop check.
class ClassicSprites : public SpriteDrawer {
 public:
  void reserve(const Field&) override {}
  bool drawSprites(const Field& field, StopCheck stop) override;
};
