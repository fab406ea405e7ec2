#include "distance.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

double dot(Vec2 a, Vec2 b) {
  return a.x * b.x + a.y * b.y;
}

constexpr double kEdgeWidth = 1.5;

}  // namespace

double length(Vec2 a) {
  return std::hypot(a.x, a.y);
}

Vec2 rotate(Vec2 p, double degrees) {
  const double r = degrees * std::numbers::pi / 180.0;
  const double c = std::cos(r);
  const double s = std::sin(r);
  return {c * p.x - s * p.y, s * p.x + c * p.y};
}

double circle(Vec2 p, Vec2 centre, double radius) {
  return length(p - centre) - radius;
}

double ellipse(Vec2 p, Vec2 centre, double a, double b) {
  const Vec2 q = p - centre;
  const double k0 = std::hypot(q.x / a, q.y / b);
  const double k1 = std::hypot(q.x / (a * a), q.y / (b * b));
  if (k1 == 0.0) {
    return -std::min(a, b);
  }
  return k0 * (k0 - 1.0) / k1;
}

double roundedBox(Vec2 p, Vec2 centre, Vec2 halfSize, double cornerRadius) {
  const Vec2 q = p - centre;
  const double dx = std::abs(q.x) - halfSize.x + cornerRadius;
  const double dy = std::abs(q.y) - halfSize.y + cornerRadius;
  const double outside = std::hypot(std::max(dx, 0.0), std::max(dy, 0.0));
  return outside + std::min(std::max(dx, dy), 0.0) - cornerRadius;
}

double capsule(Vec2 p, Vec2 a, Vec2 b, double radius) {
  const Vec2 pa = p - a;
  const Vec2 ba = b - a;
  const double h = std::clamp(dot(pa, ba) / dot(ba, ba), 0.0, 1.0);
  return length(pa - h * ba) - radius;
}

// The distance to the nearest edge, negative when an even-odd count of
// crossings puts the point inside.
double polygon(Vec2 p, const std::vector<Vec2>& v) {
  double nearest = dot(p - v[0], p - v[0]);
  bool inside = false;
  for (std::size_t i = 0, j = v.size() - 1; i < v.size(); j = i, ++i) {
    const Vec2 e = v[j] - v[i];
    const Vec2 w = p - v[i];
    const Vec2 b = w - std::clamp(dot(w, e) / dot(e, e), 0.0, 1.0) * e;
    nearest = std::min(nearest, dot(b, b));
    if ((v[i].y > p.y) != (v[j].y > p.y) && p.x < v[i].x + (p.y - v[i].y) * e.x / e.y) {
      inside = !inside;
    }
  }
  const double d = std::sqrt(nearest);
  return inside ? -d : d;
}

std::vector<Vec2> starVertices(int points, double outerRadius, double innerRadius) {
  std::vector<Vec2> vertices;
  for (int i = 0; i < 2 * points; ++i) {
    const double radius = i % 2 == 0 ? outerRadius : innerRadius;
    vertices.push_back(rotate({0.0, radius}, 180.0 * i / points));
  }
  return vertices;
}

double coverage(double distance) {
  return std::clamp(0.5 - distance / kEdgeWidth, 0.0, 1.0);
}
