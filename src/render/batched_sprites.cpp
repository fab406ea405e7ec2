#include "render/batched_sprites.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "render/sprite_batches.h"
#include "render/sprite_quad.h"

namespace {

// The list's two triangles over the corners (−q, −q), (q, −q), (q, q),
// (−q, q).
constexpr GLuint kQuadCorners[6] = {0, 1, 2, 0, 2, 3};

std::size_t spritesOf(const Field& field) {
  const auto particles = static_cast<std::size_t>(field.no_particles > 0 ? field.no_particles : 0);
  return field.show_ai == 1 ? 5 * particles : particles;
}

// A sprite's placement: translated to its point, scaled, then turned about
// z, the columns of the matrix that glTranslatef, glScalef and glRotatef
// build, applied to the quad's corners (±q, ±q, 0).
struct Facing {
  float aq;  // scale · cos · q
  float bq;  // scale · sin · q
};

// The sine and cosine are taken in double and rounded to float, as
// glRotatef takes them.
Facing facingOf(float scale, float degrees) {
  const double radians = degrees * M_PI / 180.0;
  const float a = scale * static_cast<float>(std::cos(radians));
  const float b = scale * static_cast<float>(std::sin(radians));
  return {a * kQuadHalfWidth, b * kQuadHalfWidth};
}

// The four corners in the order of the list, with its texture coordinates.
SpriteVertex* emitSprite(SpriteVertex* v, const Vector3F& at, Facing f, const ColorRGBA& c) {
  // Corner (σx q, σy q) lands at (σx aq − σy bq, σx bq + σy aq) from the point.
  v[0] = {0, 0, c.r, c.g, c.b, c.a, -f.aq + f.bq + at.x, -f.bq - f.aq + at.y, at.z};
  v[1] = {1, 0, c.r, c.g, c.b, c.a, f.aq + f.bq + at.x, f.bq - f.aq + at.y, at.z};
  v[2] = {1, 1, c.r, c.g, c.b, c.a, f.aq - f.bq + at.x, f.bq + f.aq + at.y, at.z};
  v[3] = {0, 1, c.r, c.g, c.b, c.a, -f.aq - f.bq + at.x, -f.bq + f.aq + at.y, at.z};
  return v + 4;
}

}  // namespace

void BatchedSprites::reserve(const Field& field) {
  const std::size_t sprites = spritesOf(field);
  const std::size_t held = vertices_.size() / 4;
  if (held >= sprites) {
    return;
  }
  vertices_.resize(4 * sprites);
  indices_.resize(6 * sprites);
  for (std::size_t sprite = held; sprite < sprites; ++sprite) {
    for (std::size_t i = 0; i < 6; ++i) {
      indices_[6 * sprite + i] = static_cast<GLuint>(4 * sprite + kQuadCorners[i]);
    }
  }
}

bool BatchedSprites::drawSprites(const Field& field, StopCheck stop) {
  reserve(field);
  const float scale = 200.0f * field.particle_scale;
  SpriteVertex* v = vertices_.data();
  // A particle's facing serves its afterimages too.
  int32_t facingParticle = -1;
  Facing facing{};
  forEachSprite(field, [&](int32_t k, const Vector3F& at, const ColorRGBA& c) {
    if (k != facingParticle) {
      facing = facingOf(scale, field.yrp[k]);
      facingParticle = k;
    }
    v = emitSprite(v, at, facing, c);
    return true;
  });
  sprites_ = static_cast<std::size_t>(v - vertices_.data()) / 4;
  if (sprites_ == 0) {
    return true;
  }

  constexpr GLsizei stride = sizeof(SpriteVertex);
  const SpriteVertex* first = vertices_.data();
  glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  glVertexPointer(3, GL_FLOAT, stride, &first->x);
  glTexCoordPointer(2, GL_FLOAT, stride, &first->s);
  glColorPointer(4, GL_FLOAT, stride, &first->r);
  // The batches draw the same triangles in the same order as one draw
  // would, and so the same pixels. Each range spares GL a scan of the
  // indices for the corners they use.
  SpriteBatches batches(stop);
  bool finished = true;
  for (std::size_t begin = 0; begin < sprites_ && finished; begin += SpriteBatches::kSpritesPerBatch) {
    const std::size_t end = std::min(sprites_, begin + SpriteBatches::kSpritesPerBatch);
    glDrawRangeElements(GL_TRIANGLES, static_cast<GLuint>(4 * begin), static_cast<GLuint>(4 * end - 1),
                        static_cast<GLsizei>(6 * (end - begin)), GL_UNSIGNED_INT,
                        indices_.data() + 6 * begin);
    finished = batches.batchDrawn();
  }
  glPopClientAttrib();
  return finished;
}
