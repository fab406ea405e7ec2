#include "raster.h"

#include <algorithm>
#include <cmath>

#include "design.h"

namespace {

// A colour with premultiplied alpha, for painting one layer over another.
struct Paint {
  double red = 0;
  double green = 0;
  double blue = 0;
  double alpha = 0;
};

void paintOver(Paint& below, Rgb color, double alpha) {
  below.red = color.red * alpha + below.red * (1 - alpha);
  below.green = color.green * alpha + below.green * (1 - alpha);
  below.blue = color.blue * alpha + below.blue * (1 - alpha);
  below.alpha = alpha + below.alpha * (1 - alpha);
}

Rgb mix(Rgb a, Rgb b, double t) {
  return {a.red + (b.red - a.red) * t, a.green + (b.green - a.green) * t, a.blue + (b.blue - a.blue) * t};
}

bool insideBackdrop(const Backdrop& b, double x, double y) {
  // Distance past the inner square that the corners are rounded about.
  const double inner = 0.5 - b.inset - b.cornerRadius;
  const double dx = std::max(std::abs(x - 0.5) - inner, 0.0);
  const double dy = std::max(std::abs(y - 0.5) - inner, 0.0);
  return dx * dx + dy * dy <= b.cornerRadius * b.cornerRadius;
}

// Every layer at one point of the unit square, as an SVG renderer paints
// them: gradients interpolate straight colours, layers go over each other.
Paint paintAt(const Backdrop& backdrop, const std::vector<Glow>& glows, double x, double y) {
  Paint paint;
  if (insideBackdrop(backdrop, x, y)) {
    const double t = std::clamp((y - backdrop.inset) / (1 - 2 * backdrop.inset), 0.0, 1.0);
    paintOver(paint, mix(backdrop.top, backdrop.bottom, t), 1.0);
  }
  for (const Glow& glow : glows) {
    const double d = std::hypot(x - glow.x, y - glow.y) / glow.radius;
    if (d >= 1.0) continue;
    if (d <= kCoreStop) {
      paintOver(paint, mix(glow.core, glow.color, d / kCoreStop), 1.0);
    } else {
      paintOver(paint, glow.color, 1.0 - (d - kCoreStop) / (1.0 - kCoreStop));
    }
  }
  return paint;
}

unsigned char byteOf(double value) {
  return static_cast<unsigned char>(std::lround(255.0 * std::clamp(value, 0.0, 1.0)));
}

}  // namespace

std::vector<unsigned char> rasterizeIcon(int side) {
  // Eight by eight samples a pixel smooth the backdrop's outline.
  constexpr int kSamples = 8;
  const Backdrop backdrop = iconBackdrop();
  const std::vector<Glow> glows = iconGlows();
  std::vector<unsigned char> rgba(static_cast<std::size_t>(side) * side * 4);
  for (int row = 0; row < side; ++row) {
    for (int column = 0; column < side; ++column) {
      Paint sum;
      for (int j = 0; j < kSamples; ++j) {
        for (int i = 0; i < kSamples; ++i) {
          const Paint p = paintAt(backdrop, glows, (column + (i + 0.5) / kSamples) / side,
                                  (row + (j + 0.5) / kSamples) / side);
          sum.red += p.red;
          sum.green += p.green;
          sum.blue += p.blue;
          sum.alpha += p.alpha;
        }
      }
      unsigned char* pixel = &rgba[4 * (static_cast<std::size_t>(row) * side + column)];
      const double alpha = sum.alpha / (kSamples * kSamples);
      if (alpha > 0) {
        pixel[0] = byteOf(sum.red / sum.alpha);
        pixel[1] = byteOf(sum.green / sum.alpha);
        pixel[2] = byteOf(sum.blue / sum.alpha);
      }
      pixel[3] = byteOf(alpha);
    }
  }
  return rgba;
}
