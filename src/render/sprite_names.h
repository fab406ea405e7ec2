#pragma once

#include <array>

// Sprite image files by shape index, the value of "particle shape".
inline constexpr std::array<const char*, 10> kSpriteImageNames{
    "circle.png", "face.png",   "flower.png", "heart.png",  "note.png",
    "spark.png",  "square.png", "star_5.png", "star_6.png", "gn.png",
};
