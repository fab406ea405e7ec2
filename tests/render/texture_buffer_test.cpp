#include "render/texture_buffer.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

// Pixel (x, y) has red x, green y (as bytes), blue 7 and alpha 200, so each
// stored texel tells which pixel it came from.
class CoordinateImage : public Image {
 public:
  CoordinateImage(int wide, int high) : wide_(wide), high_(high) {}
  int pixelsWide() const override { return wide_; }
  int pixelsHigh() const override { return high_; }
  PixelColor colorAtX(int x, int y) const override { return {x / 255.0, y / 255.0, 7 / 255.0, 200 / 255.0}; }

 private:
  int wide_;
  int high_;
};

class SolidImage : public Image {
 public:
  explicit SolidImage(PixelColor color) : color_(color) {}
  int pixelsWide() const override { return 1; }
  int pixelsHigh() const override { return 1; }
  PixelColor colorAtX(int, int) const override { return color_; }

 private:
  PixelColor color_;
};

struct Pixel {
  int x;
  int y;
};

struct OrderCase {
  const char* name;
  int wide;
  int high;
  std::vector<Pixel> stored;
};

class TexelOrder : public testing::TestWithParam<OrderCase> {};

TEST_P(TexelOrder, StoresTheImageColumnAfterColumn) {
  const OrderCase& c = GetParam();
  const CoordinateImage image(c.wide, c.high);
  ASSERT_EQ(uploadBufferSize(&image), c.stored.size() * 4);
  std::vector<unsigned char> buffer(uploadBufferSize(&image), 0xEE);
  fillUploadBuffer(&image, buffer.data());
  for (std::size_t i = 0; i < c.stored.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "texel " << i);
    EXPECT_EQ(buffer[4 * i + 0], c.stored[i].x);
    EXPECT_EQ(buffer[4 * i + 1], c.stored[i].y);
    EXPECT_EQ(buffer[4 * i + 2], 7);
    EXPECT_EQ(buffer[4 * i + 3], 200);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, TexelOrder,
    testing::Values(OrderCase{"square", 2, 2, {{0, 0}, {0, 1}, {1, 0}, {1, 1}}},
                    OrderCase{"wide", 3, 2, {{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}}},
                    OrderCase{"tall", 2, 3, {{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}, {1, 2}}},
                    OrderCase{"one_row", 3, 1, {{0, 0}, {1, 0}, {2, 0}}},
                    OrderCase{"one_column", 1, 3, {{0, 0}, {0, 1}, {0, 2}}}),
    [](const testing::TestParamInfo<OrderCase>& info) { return info.param.name; });

TEST(TexelBytes, TruncateEachComponentTimes255) {
  struct Case {
    double component;
    int byte;
  };
  const std::array<Case, 6> cases{
      {{1.0, 255}, {0.5, 127}, {0.0, 0}, {0.999, 254}, {0.25, 63}, {128 / 255.0, 128}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "component " << c.component);
    // Each component in a different channel position, so a mixed-up order
    // shows too.
    const SolidImage image({c.component, 0.0, 1.0, c.component});
    std::array<unsigned char, 4> texel{};
    fillUploadBuffer(&image, texel.data());
    EXPECT_EQ(texel[0], c.byte);
    EXPECT_EQ(texel[1], 0);
    EXPECT_EQ(texel[2], 255);
    EXPECT_EQ(texel[3], c.byte);
  }
}

TEST(TexelBytes, NullImageHasNoBufferAndFillsNothing) {
  EXPECT_EQ(uploadBufferSize(nullptr), 0u);
  std::array<unsigned char, 4> untouched{1, 2, 3, 4};
  fillUploadBuffer(nullptr, untouched.data());
  EXPECT_EQ(untouched, (std::array<unsigned char, 4>{1, 2, 3, 4}));
}

}  // namespace
