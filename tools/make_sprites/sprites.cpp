#include "sprites.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <utility>

// Every shape stays within 58 pixels of the centre, so the outer few pixels
// of the square are clear and repeated textures do not bleed into each
// other.
namespace {

double degreesOf(Vec2 p) {
  return std::atan2(p.y, p.x) * 180.0 / std::numbers::pi;
}

// A glow: full at the centre, easing to nothing at the radius.
double glow(double r, double radius) {
  const double t = std::min(r / radius, 1.0);
  const double u = 1.0 - t * t;
  return u * u * u;
}

double screen(double a, double b) {
  return 1.0 - (1.0 - a) * (1.0 - b);
}

double circleSprite(Vec2 p) {
  return glow(length(p), 58.0);
}

double faceSprite(Vec2 p) {
  double d = circle(p, {0, 0}, 56);
  d = subtract(d, ellipse(p, {-19, 16}, 7, 11));
  d = subtract(d, ellipse(p, {19, 16}, 7, 11));
  // The smile: the lower part of a ring, its ends rounded.
  const Vec2 centre{0, 2};
  const double radius = 32;
  const double halfWidth = 4.5;
  const double ring = std::abs(circle(p, centre, radius)) - halfWidth;
  const double angle = degreesOf(p - centre);
  const bool withinArc = angle < -35.0 && angle > -145.0;
  const Vec2 left = centre + radius * rotate({1, 0}, -145.0);
  const Vec2 right = centre + radius * rotate({1, 0}, -35.0);
  double smile = withinArc ? ring : 1e9;
  smile = unite(smile, circle(p, left, halfWidth));
  smile = unite(smile, circle(p, right, halfWidth));
  return coverage(subtract(d, smile));
}

double flowerSprite(Vec2 p) {
  double petals = 1e9;
  for (int i = 0; i < 5; ++i) {
    // Each petal is an ellipse along its own radius, the first pointing up.
    const Vec2 q = rotate(p, -72.0 * i);
    petals = unite(petals, ellipse(q, {0, 33}, 17, 24));
  }
  // A clear ring sets the centre apart from the petals.
  const double d = unite(subtract(petals, circle(p, {0, 0}, 18)), circle(p, {0, 0}, 13));
  return coverage(d);
}

// Two round lobes on a square turned on its corner, the point down.
double heartSprite(Vec2 p) {
  const double side = 68;
  const double offset = side / (2 * std::numbers::sqrt2);
  const Vec2 q = p - Vec2{0, -4};
  double d = roundedBox(rotate(q, 45), {0, 0}, {side / 2, side / 2}, 0);
  d = unite(d, circle(q, {-offset, offset}, side / 2));
  d = unite(d, circle(q, {offset, offset}, side / 2));
  return coverage(d);
}

// A quaver: a tilted oval head, a stem rising from its right side, and a
// flag curving down from the stem's top.
double noteSprite(Vec2 p) {
  const Vec2 q = p - Vec2{-4, 0};
  const Vec2 head{-12, -38};
  double d = ellipse(rotate(q - head, -22), {0, 0}, 17, 12);
  d = unite(d, roundedBox(q, {0.5, 8}, {3.5, 46}, 1));
  // The flag traced as a cubic curve, thinning towards its tip.
  const std::array<Vec2, 4> c{Vec2{2, 49}, Vec2{6, 32}, Vec2{34, 30}, Vec2{25, 0}};
  constexpr int kSteps = 24;
  Vec2 previous = c[0];
  for (int i = 1; i <= kSteps; ++i) {
    const double t = static_cast<double>(i) / kSteps;
    const double s = 1.0 - t;
    const Vec2 point =
        (s * s * s) * c[0] + (3 * s * s * t) * c[1] + (3 * s * t * t) * c[2] + (t * t * t) * c[3];
    d = unite(d, capsule(q, previous, point, 5.0 - 2.5 * t));
    previous = point;
  }
  return coverage(d);
}

// A bright core with four long rays and four short ones between them.
double sparkSprite(Vec2 p) {
  const double r = length(p);
  double a = screen(glow(r, 22), 0.5 * glow(r, 40));
  for (int i = 0; i < 8; ++i) {
    const double reach = i % 2 == 0 ? 58.0 : 36.0;
    const double width = i % 2 == 0 ? 2.6 : 2.0;
    const Vec2 q = rotate(p, -45.0 * i);
    if (q.y <= 0.0 || q.y >= reach) {
      continue;
    }
    const double along = 1.0 - q.y / reach;
    const double across = q.x / (width * (0.35 + 0.65 * along));
    a = screen(a, along * along * std::exp(-across * across));
  }
  return a;
}

double squareSprite(Vec2 p) {
  return coverage(roundedBox(p, {0, 0}, {50, 50}, 7));
}

double star5Sprite(Vec2 p) {
  static const std::vector<Vec2> vertices = starVertices(5, 56, 24);
  return coverage(polygon(p - Vec2{0, -3}, vertices) - 2);
}

double star6Sprite(Vec2 p) {
  static const std::vector<Vec2> vertices = starVertices(6, 56, 30);
  return coverage(polygon(p, vertices) - 2);
}

// A ring round a dot.
double gnSprite(Vec2 p) {
  const double ring = std::abs(circle(p, {0, 0}, 48)) - 6;
  return coverage(unite(ring, circle(p, {0, 0}, 15)));
}

constexpr std::array<std::pair<std::string_view, SpriteAlpha>, 10> kSprites{{
    {"circle.png", circleSprite},
    {"face.png", faceSprite},
    {"flower.png", flowerSprite},
    {"heart.png", heartSprite},
    {"note.png", noteSprite},
    {"spark.png", sparkSprite},
    {"square.png", squareSprite},
    {"star_5.png", star5Sprite},
    {"star_6.png", star6Sprite},
    {"gn.png", gnSprite},
}};

}  // namespace

SpriteAlpha spriteAlphaFor(std::string_view fileName) {
  for (const auto& [name, alpha] : kSprites) {
    if (name == fileName) {
      return alpha;
    }
  }
  return nullptr;
}
