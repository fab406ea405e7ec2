// Draws the ten sprite images into a directory (the repository's resources):
//   swirlmote_make_sprites <directory>
// The output depends on nothing but this program, so running it again
// writes the same bytes.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "common/rgba_png.h"
#include "render/sprite_names.h"
#include "sprites.h"

namespace {

constexpr int kSide = 128;

// White everywhere, even where clear, so that filtering at the edges blends
// towards white rather than darkening the outline.
std::vector<unsigned char> render(SpriteAlpha alpha) {
  std::vector<unsigned char> rgba(kSide * kSide * 4, 255);
  for (int row = 0; row < kSide; ++row) {
    for (int column = 0; column < kSide; ++column) {
      const Vec2 p{column + 0.5 - kSide / 2.0, kSide / 2.0 - (row + 0.5)};
      rgba[4 * (row * kSide + column) + 3] = static_cast<unsigned char>(std::lround(255.0 * alpha(p)));
    }
  }
  return rgba;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
    return 2;
  }
  const std::filesystem::path directory = argv[1];
  for (const char* name : kSpriteImageNames) {
    const SpriteAlpha alpha = spriteAlphaFor(name);
    if (!alpha) {
      std::fprintf(stderr, "swirlmote_make_sprites: no drawing for %s\n", name);
      return 1;
    }
    if (!writeRgbaPng(directory / name, kSide, render(alpha), "swirlmote_make_sprites")) {
      return 1;
    }
  }
  return 0;
}
