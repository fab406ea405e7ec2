#include "platform/png_image.h"

#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "render/sprite_names.h"
#include "support/files.h"

namespace {

// An 8-bit RGBA PNG of the pixels, top row first.
std::string encodePng(int wide, int high, const std::vector<uint8_t>& rgba) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(wide);
  image.height = static_cast<png_uint_32>(high);
  image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr)) << image.message;
  std::string png(size, '\0');
  EXPECT_TRUE(png_image_write_to_memory(&image, png.data(), &size, 0, rgba.data(), 0, nullptr))
      << image.message;
  png.resize(size);
  return png;
}

void appendBigEndian(std::string& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    out.push_back(static_cast<char>((value >> shift) & 0xFF));
  }
}

void appendChunk(std::string& out, const std::string& type, const std::string& data) {
  appendBigEndian(out, static_cast<uint32_t>(data.size()));
  const std::string body = type + data;
  out += body;
  appendBigEndian(out, crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size())));
}

// A well-formed PNG header claiming an RGBA image of the given size, with a
// token of image data: enough for a reader to get past the header.
std::string pngHeaderClaiming(uint32_t width, uint32_t height) {
  std::string png("\x89PNG\r\n\x1a\n", 8);
  std::string header;
  appendBigEndian(header, width);
  appendBigEndian(header, height);
  header += std::string("\x08\x06\x00\x00\x00", 5);
  appendChunk(png, "IHDR", header);
  appendChunk(png, "IDAT", std::string("\x78\x9c\x03\x00\x00\x00\x00\x01", 8));
  appendChunk(png, "IEND", "");
  return png;
}

int lineCount(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

class PngImageTest : public testing::Test {
 protected:
  void SetUp() override {
    directory_ = std::filesystem::path(testing::TempDir()) / ("png_image_test_" + std::to_string(getpid()));
    std::filesystem::create_directories(directory_);
  }
  void TearDown() override { std::filesystem::remove_all(directory_); }

  std::filesystem::path directory_;
};

// Three by two pixels, each with its own bytes; one half transparent so a
// premultiplying decoder would show.
const std::vector<uint8_t> kPixels{
    255, 0,   0,  255, 0,  255, 0,  255, 0,   0,   255, 255,  // top row
    200, 100, 50, 128, 10, 20,  30, 0,   255, 255, 255, 1,    // bottom row
};

TEST_F(PngImageTest, DecodesEveryPixelAsStoredFromFileAndMemory) {
  const std::filesystem::path path = directory_ / "pixels.png";
  const std::string bytes = encodePng(3, 2, kPixels);
  writeFile(path, bytes);
  const std::unique_ptr<PngImage> images[] = {
      PngImage::load(path.string()),
      PngImage::loadFromMemory(bytes.data(), bytes.size(), "pixels"),
  };
  for (const auto& image : images) {
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->pixelsWide(), 3);
    ASSERT_EQ(image->pixelsHigh(), 2);
    for (int y = 0; y < 2; ++y) {
      for (int x = 0; x < 3; ++x) {
        SCOPED_TRACE(testing::Message() << "pixel " << x << ", " << y);
        const uint8_t* expected = &kPixels[4 * (y * 3 + x)];
        const PixelColor c = image->colorAtX(x, y);
        EXPECT_EQ(c.red, expected[0] / 255.0);
        EXPECT_EQ(c.green, expected[1] / 255.0);
        EXPECT_EQ(c.blue, expected[2] / 255.0);
        EXPECT_EQ(c.alpha, expected[3] / 255.0);
      }
    }
  }
}

// Every sprite decodes quietly to a 128-pixel square whose outer rows and
// columns are clear (the textures repeat) and that is fully opaque somewhere.
TEST(SpriteResources, AreSquaresWithAClearBorder) {
  for (const char* name : kSpriteImageNames) {
    SCOPED_TRACE(name);
    testing::internal::CaptureStderr();
    const auto image = PngImage::load(std::string(SWIRLMOTE_SOURCE_DIR "/resources/") + name);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->pixelsWide(), 128);
    ASSERT_EQ(image->pixelsHigh(), 128);
    constexpr int kBorder = 3;
    double borderAlpha = 0.0;
    double peakAlpha = 0.0;
    for (int y = 0; y < 128; ++y) {
      for (int x = 0; x < 128; ++x) {
        const double alpha = image->colorAtX(x, y).alpha;
        if (std::min({x, y, 127 - x, 127 - y}) < kBorder) {
          borderAlpha = std::max(borderAlpha, alpha);
        } else {
          peakAlpha = std::max(peakAlpha, alpha);
        }
      }
    }
    EXPECT_EQ(borderAlpha, 0.0);
    EXPECT_EQ(peakAlpha, 1.0);
  }
}

TEST_F(PngImageTest, AcceptsSidesUpToTheLimitAndRefusesLarger) {
  struct Case {
    int wide;
    int high;
    bool loads;
  };
  const Case cases[] = {
      {PngImage::kMaxSide, 1, true},
      {1, PngImage::kMaxSide, true},
      {PngImage::kMaxSide + 1, 1, false},
      {1, PngImage::kMaxSide + 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.wide << " x " << c.high);
    const std::string path = (directory_ / "limit.png").string();
    writeFile(path, encodePng(c.wide, c.high, std::vector<uint8_t>(4u * c.wide * c.high, 255)));
    testing::internal::CaptureStderr();
    const auto image = PngImage::load(path);
    const std::string warning = testing::internal::GetCapturedStderr();
    if (c.loads) {
      ASSERT_NE(image, nullptr);
      EXPECT_EQ(image->pixelsWide(), c.wide);
      EXPECT_EQ(image->pixelsHigh(), c.high);
      EXPECT_EQ(warning, "");
    } else {
      EXPECT_EQ(image, nullptr);
      EXPECT_EQ(lineCount(warning), 1) << warning;
      EXPECT_NE(warning.find(path), std::string::npos) << warning;
    }
  }
}

std::string validPng() {
  return encodePng(3, 2, kPixels);
}

struct BrokenCase {
  const char* name;
  std::string (*bytes)();
};

class BrokenPng : public PngImageTest, public testing::WithParamInterface<BrokenCase> {};

// Each broken input, from a file and from memory, gives no image and one
// warning that names it.
TEST_P(BrokenPng, GivesNullAndOneWarningNamingTheFile) {
  const std::string bytes = GetParam().bytes();
  const std::string path = (directory_ / (std::string(GetParam().name) + ".png")).string();
  writeFile(path, bytes);

  testing::internal::CaptureStderr();
  EXPECT_EQ(PngImage::load(path), nullptr);
  const std::string fileWarning = testing::internal::GetCapturedStderr();
  EXPECT_EQ(lineCount(fileWarning), 1) << fileWarning;
  EXPECT_NE(fileWarning.find(path), std::string::npos) << fileWarning;

  testing::internal::CaptureStderr();
  EXPECT_EQ(PngImage::loadFromMemory(bytes.data(), bytes.size(), "in-memory.png"), nullptr);
  const std::string memoryWarning = testing::internal::GetCapturedStderr();
  EXPECT_EQ(lineCount(memoryWarning), 1) << memoryWarning;
  EXPECT_NE(memoryWarning.find("in-memory.png"), std::string::npos) << memoryWarning;
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, BrokenPng,
    testing::Values(BrokenCase{"empty", []() { return std::string(); }},
                    BrokenCase{"garbage", []() { return std::string("GIF89a, or anything else"); }},
                    BrokenCase{"signature_only", []() { return validPng().substr(0, 8); }},
                    BrokenCase{"truncated",
                               []() {
                                 const std::string png = validPng();
                                 return png.substr(0, png.size() - 20);
                               }},
                    BrokenCase{"damaged_data",
                               []() {
                                 std::string png = validPng();
                                 png[png.size() - 20] ^= 0x55;
                                 return png;
                               }},
                    BrokenCase{"huge", []() { return pngHeaderClaiming(5000, 5000); }},
                    BrokenCase{"zero_wide", []() { return pngHeaderClaiming(0, 16); }}),
    [](const testing::TestParamInfo<BrokenCase>& info) { return info.param.name; });

TEST_F(PngImageTest, MissingFileGivesNullAndOneWarningNamingIt) {
  const std::string path = (directory_ / "absent.png").string();
  testing::internal::CaptureStderr();
  EXPECT_EQ(PngImage::load(path), nullptr);
  const std::string warning = testing::internal::GetCapturedStderr();
  EXPECT_EQ(lineCount(warning), 1) << warning;
  EXPECT_NE(warning.find(path), std::string::npos) << warning;
}

}  // namespace
