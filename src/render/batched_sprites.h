#pragma once

#include <GL/gl.h>

#include <cstddef>
#include <span>
#include <vector>

#include "render/stop_check.h"
#include "simulation/field.h"

// One corner of a sprite's quad as the vertex arrays take it.
struct SpriteVertex {
  float s, t;
  float r, g, b, a;
  float x, y, z;
};

// Frames whose sprites and afterimages are all drawn with a single
// fixed-function vertex-array draw, their corners placed on the CPU as the
// classic path's matrices would place them. Each sprite has four corners
// and six indices making the same two triangles as the sprite quad's list.
// The storage only grows, so once it fits the field a frame allocates
// nothing.
class BatchedFrame {
 public:
  // Makes room for every sprite and afterimage of the field as seeded.
  void reserve(const Field& field);
  // One frame like ::doAnimation: clear, camera, one simulation step, the
  // sprites, then tick advances. The stop check is asked once, between the
  // step and the draw; false when it gave the frame up.
  bool doAnimation(Field& field, const GLuint (&TextureName)[10], StopCheck stop = nullptr);
  // Fills the corners from the field and draws them with the blending and
  // texture that are set up. The client vertex-array state is as before
  // afterwards.
  void drawSprites(const Field& field);
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
