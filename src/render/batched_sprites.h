#pragma once

#include <GL/gl.h>

#include <cstddef>
#include <span>
#include <vector>

#include "render/sprite_drawer.h"

// One corner of a sprite's quad as the vertex arrays take it.
struct SpriteVertex {
  float s, t;
  float r, g, b, a;
  float x, y, z;
};

// Every sprite and afterimage of a frame drawn with fixed-function
// vertex-array draws, one for each batch of SpriteBatches::kSpritesPerBatch
// sprites, their corners placed on the CPU as the classic path's matrices
// would place them. Each sprite has four corners
// and six indices making the same two triangles as the sprite quad's list.
// The storage only grows, so once it fits the field a frame allocates
// nothing.
class BatchedSprites : public SpriteDrawer {
 public:
  // Makes room for every sprite and afterimage of the field as seeded.
  void reserve(const Field& field) override;
  // Fills the corners from the field and draws them a batch at a time,
  // asking the stop check after each batch as the classic path does; false
  // when it gave the frame up. The client vertex-array state is as before
  // afterwards.
  bool drawSprites(const Field& field, StopCheck stop = nullptr) override;
  // The corners of the latest drawSprites, four a sprite in drawing order
  // (each particle's sprite, then its afterimages), and the indices of its
  // triangles into them.
  std::span<const SpriteVertex> vertices() const { return {vertices_.data(), 4 * sprites_}; }
  std::span<const GLuint> indices() const { return {indices_.data(), 6 * sprites_}; }

 private:
  std::vector<SpriteVertex> vertices_;
  std::vector<GLuint> indices_;
  std::size_t sprites_ = 0;
};
