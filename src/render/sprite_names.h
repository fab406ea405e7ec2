#pragma once

#include <GL/gl.h>

#include <array>
#include <cstddef>

// The number of sprite images, one for each value of "particle shape".
inline constexpr std::size_t kSpriteImageCount = 10;
// The texture names of the sprite images, by shape index.
using SpriteTextures = GLuint[kSpriteImageCount];

// Sprite image files by shape index, the value of "particle shape".
inline constexpr std::array<const char*, kSpriteImageCount> kSpriteImageNames{
    "circle.png", "face.png",   "flower.png", "heart.png",  "note.png",
    "spark.png",  "square.png", "star_5.png", "star_6.png", "gn.png",
};
