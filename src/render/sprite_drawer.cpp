#include "render/sprite_drawer.h"

#include "render/batched_sprites.h"
#include "render/classic_sprites.h"

std::unique_ptr<SpriteDrawer> makeSpriteDrawer(Renderer renderer) {
  if (renderer == Renderer::Batched) {
    return std::make_unique<BatchedSprites>();
  }
  return std::make_unique<ClassicSprites>();
}
