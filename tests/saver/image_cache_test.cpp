#include "saver/image_cache.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class BlankImage : public Image {
 public:
  int pixelsWide() const override { return 1; }
  int pixelsHigh() const override { return 1; }
  PixelColor colorAtX(int, int) const override { return {0, 0, 0, 0}; }
};

class ImageCacheTest : public testing::Test {
 protected:
  void SetUp() override { ImageCache::removeAll(); }
  void TearDown() override { ImageCache::removeAll(); }
};

TEST_F(ImageCacheTest, FindsEachImageUnderItsOwnName) {
  const Image* heart = ImageCache::setName(std::make_unique<BlankImage>(), "heart.png");
  const Image* star = ImageCache::setName(std::make_unique<BlankImage>(), "star_5.png");
  ASSERT_NE(heart, nullptr);
  ASSERT_NE(star, nullptr);
  EXPECT_NE(heart, star);
  EXPECT_EQ(ImageCache::imageNamed("heart.png"), heart);
  EXPECT_EQ(ImageCache::imageNamed("star_5.png"), star);
  EXPECT_EQ(ImageCache::imageNamed("heart"), nullptr);
  EXPECT_EQ(ImageCache::imageNamed(""), nullptr);
}

TEST_F(ImageCacheTest, ATakenNameKeepsItsFirstImage) {
  auto first = std::make_unique<BlankImage>();
  const Image* firstPointer = first.get();
  EXPECT_EQ(ImageCache::setName(std::move(first), "gn.png"), firstPointer);
  EXPECT_EQ(ImageCache::setName(std::make_unique<BlankImage>(), "gn.png"), firstPointer);
  EXPECT_EQ(ImageCache::imageNamed("gn.png"), firstPointer);
}

TEST_F(ImageCacheTest, ANullImageEntersNothing) {
  EXPECT_EQ(ImageCache::setName(nullptr, "face.png"), nullptr);
  EXPECT_EQ(ImageCache::imageNamed("face.png"), nullptr);
  const Image* face = ImageCache::setName(std::make_unique<BlankImage>(), "face.png");
  EXPECT_NE(face, nullptr);
  EXPECT_EQ(ImageCache::imageNamed("face.png"), face);
}

TEST_F(ImageCacheTest, RemoveAllEmptiesTheTable) {
  ImageCache::setName(std::make_unique<BlankImage>(), "note.png");
  ImageCache::removeAll();
  EXPECT_EQ(ImageCache::imageNamed("note.png"), nullptr);
}

}  // namespace
