#pragma once

#include <cstdint>
#include <memory>

#include "render/renderer.h"
#include "render/stop_check.h"
#include "simulation/field.h"

// Draws a frame's sprites, each particle followed by its afterimages, with
// the blending and the shape's texture that the frame has set up.
class SpriteDrawer {
 public:
  virtual ~SpriteDrawer() = default;
  // Makes ready for the field as seeded, so that a frame allocates nothing.
  virtual void reserve(const Field& field) = 0;
  // False when the stop check gave the frame up part way.
  virtual bool drawSprites(const Field& field, StopCheck stop) = 0;
};

// The drawer for a renderer: ClassicSprites or BatchedSprites.
std::unique_ptr<SpriteDrawer> makeSpriteDrawer(Renderer renderer);

// The walk both drawers share: draw(particle, point, colour) for each
// particle's sprite and, when afterimages are on, its four afterimages with
// their faded alpha; every one turns as its particle does. Stops, false,
// when draw returns false.
template <typename Draw>
bool forEachSprite(const Field& field, Draw&& draw) {
  const bool afterimages = field.show_ai == 1;
  for (int32_t k = 0; k < field.no_particles; ++k) {
    if (!draw(k, field.loc[k], field.color[k])) {
      return false;
    }
    if (afterimages) {
      for (int m = 0; m < 4; ++m) {
        const std::size_t i = 4 * static_cast<std::size_t>(k) + m;
        ColorRGBA c = field.ai_color[i];
        c.a = afterimageFade(field.ai_cnt[i]) * c.a;
        if (!draw(k, field.ai_loc[i], c)) {
          return false;
        }
      }
    }
  }
  return true;
}
