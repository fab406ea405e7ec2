#include "render/classic_sprites.h"

#include <GL/gl.h>

#include "render/sprite_batches.h"
#include "render/sprite_quad.h"

bool ClassicSprites::drawSprites(const Field& field, StopCheck stop) {
  const float scale = 200.0f * field.particle_scale;
  SpriteBatches batches(stop);
  return forEachSprite(field, [&](int32_t k, const Vector3F& at, const ColorRGBA& c) {
    glPushMatrix();
    glTranslatef(at.x, at.y, at.z);
    glScalef(scale, scale, scale);
    glRotatef(field.yrp[k], 0.0f, 0.0f, 1.0f);
    glColor4f(c.r, c.g, c.b, c.a);
    glCallList(kSpriteQuadList);
    glPopMatrix();
    return batches.spriteDrawn();
  });
}
