#pragma once

#include <vector>

// Signed distances in pixels, negative inside, for drawing shapes with
// smooth edges. Points are relative to the sprite's centre, y pointing up.
struct Vec2 {
  double x;
  double y;
};

inline Vec2 operator+(Vec2 a, Vec2 b) {
  return {a.x + b.x, a.y + b.y};
}
inline Vec2 operator-(Vec2 a, Vec2 b) {
  return {a.x - b.x, a.y - b.y};
}
inline Vec2 operator*(double s, Vec2 a) {
  return {s * a.x, s * a.y};
}
double length(Vec2 a);

// The point turned by degrees counterclockwise about the origin.
Vec2 rotate(Vec2 p, double degrees);

double circle(Vec2 p, Vec2 centre, double radius);
// An ellipse with semi-axes a (along x) and b (along y), close to exact
// near its outline, which is all that edges need.
double ellipse(Vec2 p, Vec2 centre, double a, double b);
// An axis-aligned box of the given half sizes with corners of the radius.
double roundedBox(Vec2 p, Vec2 centre, Vec2 halfSize, double cornerRadius);
// A stroke of the given radius round the segment from a to b.
double capsule(Vec2 p, Vec2 a, Vec2 b, double radius);
// A simple polygon, its vertices in order.
double polygon(Vec2 p, const std::vector<Vec2>& vertices);
// The vertices of a star with the points, the first pointing up.
std::vector<Vec2> starVertices(int points, double outerRadius, double innerRadius);

inline double unite(double a, double b) {
  return a < b ? a : b;
}
inline double subtract(double a, double b) {
  return a > -b ? a : -b;
}

// Alpha from a distance: 1 well inside, 0 well outside, a linear ramp one
// and a half pixels wide across the outline.
double coverage(double distance);
