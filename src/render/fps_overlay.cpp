#include "render/fps_overlay.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>

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

void drawText(const std::string& text, int left, int bottom, int size) {
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

}  // namespace

std::vector<std::string> frameRateLines(const std::optional<FrameRateFigures>& figures) {
  if (!figures) {
    return {"FPS: --", "LOAD: --"};
  }
  char rate[32];
  char load[32];
  std::snprintf(rate, sizeof rate, "FPS: %.1f", figures->framesPerSecond);
  std::snprintf(load, sizeof load, "LOAD: %.0f%%", figures->load * 100.0);
  return {rate, load};
}

void drawFrameRateOverlay(const std::optional<FrameRateFigures>& figures) {
  const std::vector<std::string> lines = frameRateLines(figures);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  const int size = glyphPixelSize(viewport[3]);
  std::size_t columns = 0;
  for (const std::string& line : lines) {
    columns = std::max(columns, line.size());
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
  for (const std::string& line : lines) {
    drawText(line, kPadding * size, bottom, size);
    bottom -= kLineHeight * size;
  }

  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glPopAttrib();
}
