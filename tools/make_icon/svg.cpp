#include "svg.h"

#include <cmath>
#include <cstdio>

#include "design.h"

namespace {

constexpr double kSide = 256.0;

std::string hex(Rgb c) {
  const auto byte = [](double v) { return static_cast<int>(std::lround(255.0 * v)); };
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", byte(c.red), byte(c.green), byte(c.blue));
  return text;
}

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

}  // namespace

std::string iconSvg() {
  const Backdrop b = iconBackdrop();
  const std::string side = number(kSide);
  std::string svg =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
      side + "\" height=\"" + side + "\" viewBox=\"0 0 " + side + " " + side + "\">\n  <defs>\n";
  svg +=
      "    <linearGradient id=\"backdrop\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">"
      "<stop offset=\"0\" stop-color=\"" +
      hex(b.top) + "\"/><stop offset=\"1\" stop-color=\"" + hex(b.bottom) + "\"/></linearGradient>\n";
  const std::vector<Glow> glows = iconGlows();
  for (std::size_t i = 0; i < glows.size(); ++i) {
    const std::string color = hex(glows[i].color);
    svg += "    <radialGradient id=\"glow" + std::to_string(i) + "\"><stop offset=\"0\" stop-color=\"" +
           hex(glows[i].core) + "\"/><stop offset=\"" + number(kCoreStop) + "\" stop-color=\"" + color +
           "\"/><stop offset=\"1\" stop-color=\"" + color + "\" stop-opacity=\"0\"/></radialGradient>\n";
  }
  svg += "  </defs>\n";
  const std::string squareSide = number((1 - 2 * b.inset) * kSide);
  svg += "  <rect x=\"" + number(b.inset * kSide) + "\" y=\"" + number(b.inset * kSide) + "\" width=\"" +
         squareSide + "\" height=\"" + squareSide + "\" rx=\"" + number(b.cornerRadius * kSide) +
         "\" fill=\"url(#backdrop)\"/>\n";
  for (std::size_t i = 0; i < glows.size(); ++i) {
    svg += "  <circle cx=\"" + number(glows[i].x * kSide) + "\" cy=\"" + number(glows[i].y * kSide) +
           "\" r=\"" + number(glows[i].radius * kSide) + "\" fill=\"url(#glow" + std::to_string(i) +
           ")\"/>\n";
  }
  return svg + "</svg>\n";
}
