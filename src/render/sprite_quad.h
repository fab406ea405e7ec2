#pragma once

#include <GL/gl.h>

#include <bit>
#include <cstdint>

// The display list that holds the sprite quad: two textured triangles over
// (−q, −q) to (q, q) in the plane z = 0.
inline constexpr GLuint kSpriteQuadList = 1;

// The quad's half-width q, one float step below 0.1f.
inline constexpr float kQuadHalfWidth = std::bit_cast<float>(uint32_t{0x3DCCCCCC});
