#pragma once

#include <array>
#include <cstdint>
#include <optional>

// A tiny font of 5x7 pixel glyphs for figures drawn over a frame: the
// digits, ' ', '.', '%', ':', '-' and the capitals of "FPS" and "LOAD".
inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;

// Seven rows from the top; bit 4 of a row is its leftmost pixel.
using GlyphRows = std::array<uint8_t, kGlyphHeight>;

// The glyph of a character; nothing for a character the font lacks.
std::optional<GlyphRows> glyphOf(char c);
