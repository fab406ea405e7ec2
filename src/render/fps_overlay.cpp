#include "render/fps_overlay.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "render/bitmap_font.h"

namespace {

// Glyph cells, in glyph pixels: a column between characters, two rows
// between lines, a margin of two round the text.
constexpr int kAdvance = kGlyphWidth + 1;
constexpr int kLineHeight = kGlyphHeight + 2;
constexpr int kPadding = 2;

// One glyph pixel per 360 rows of the viewport: legible from a preview
// to a 4K screen.
int glyphPixelSize(int viewportHeight) {
  return std::max(1, viewportHeight / 360);
}

void drawText(std::string_view text, int left, int bottom, int size) {
  for (const char c : text) {
    if (const auto rows = glyphOf(c)) {
      for (int row = 0; row < kGlyphHeight; ++row) {
        const int y = bottom + (kGlyphHeight - 1 - row) * size;
        for (int column = 0; column < kGlyphWidth; ++column) {
          if ((*rows)[row] & (0x10 >> column)) {
            const int x = left + column * size;
            glRecti(x, y, x + size, y + size);
          }
        }
      }
    }
    left += kAdvance * size;
  }
}

// The overlay's lines, "FPS: 59.9" and "LOAD: 23%", in buffers of their
// own, since the overlay is drawn every frame; dashes for the figures before
// any are known.
using OverlayLine = std::array<char, 32>;
std::array<OverlayLine, 2> frameRateLines(const std::optional<FrameRateFigures>& figures) {
  std::array<OverlayLine, 2> lines;
  if (!figures) {
    std::snprintf(lines[0].data(), lines[0].size(), "FPS: --");
    std::snprintf(lines[1].data(), lines[1].size(), "LOAD: --");
  } else {
    std::snprintf(lines[0].data(), lines[0].size(), "FPS: %.1f", figures->framesPerSecond);
    std::snprintf(lines[1].data(), lines[1].size(), "LOAD: %.0f%%", figures->load * 100.0);
  }
  return lines;
}

}  // namespace

void drawFrameRateOverlay(const std::optional<FrameRateFigures>& figures) {
  const std::array<OverlayLine, 2> lines = frameRateLines(figures);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  const int size = glyphPixelSize(viewport[3]);
  std::size_t columns = 0;
  for (const OverlayLine& line : lines) {
    columns = std::max(columns, std::strlen(line.data()));
  }
  const int width = (2 * kPadding + static_cast<int>(columns) * kAdvance - 1) * size;
  const int height = (2 * kPadding + static_cast<int>(lines.size()) * kLineHeight - 2) * size;

  glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT | GL_TRANSFORM_BIT | GL_POLYGON_BIT);
  glDisable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glDisable(GL_LIGHTING);
  glDisable(GL_FOG);
  glDisable(GL_ALPHA_TEST);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  // Window coordinates within the viewport, y up.
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0.0, viewport[2], 0.0, viewport[3], -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();

  glColor4f(0.05f, 0.05f, 0.05f, 1.0f);
  glRecti(0, 0, width, height);
  glColor4f(0.9f, 0.9f, 0.9f, 1.0f);
  int bottom = height - (kPadding + kGlyphHeight) * size;
  for (const OverlayLine& line : lines) {
    drawText(line.data(), kPadding * size, bottom, size);
    bottom -= kLineHeight * size;
  }

  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glPopAttrib();
}
