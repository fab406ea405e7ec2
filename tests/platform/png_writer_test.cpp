#include "platform/png_writer.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/png_image.h"

namespace fs = std::filesystem;

namespace {

// A folder of its own for each case, removed afterwards.
class Folder {
 public:
  Folder() {
    std::string pattern = (fs::temp_directory_path() / "swirlmote-png-XXXXXX").string();
    if (mkdtemp(pattern.data())) {
      path_ = pattern;
    }
  }
  ~Folder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;

  fs::path path() const { return path_; }
  std::set<std::string> entries() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_)) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

 private:
  fs::path path_;
};

std::string readAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const std::vector<uint8_t> kPixels{255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0, 10, 20, 30, 255};

mode_t modeOf(const fs::path& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

void expectTheImage(const fs::path& path) {
  const auto image = PngImage::load(path);
  ASSERT_TRUE(image) << path;
  EXPECT_EQ(image->pixelsWide(), 2);
  EXPECT_EQ(image->pixelsHigh(), 2);
  const PixelColor corner = image->colorAtX(1, 1);
  EXPECT_EQ(corner.red, 10 / 255.0);
  EXPECT_EQ(corner.alpha, 1.0) << "the alpha was written";
}

// What a name holds before the write, and what must hold after it.
struct NameCase {
  const char* what;
  // Makes the name in the folder; false to skip the case where it cannot be
  // made here.
  std::function<bool(const fs::path& name)> make;
  bool written;
  std::function<void(const fs::path& name)> check;
};

class PngWriterTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(PngWriterTest, NeverLosesWhatTheNameHeld) {
  const NameCase& c = GetParam();
  Folder folder;
  const fs::path name = folder.path() / "shot.png";
  if (!c.make(name)) {
    GTEST_SKIP() << "cannot make " << c.what << " here";
  }
  const std::set<std::string> before = folder.entries();
  testing::internal::CaptureStderr();
  EXPECT_EQ(writePng(name, 2, 2, kPixels), c.written);
  const std::string err = testing::internal::GetCapturedStderr();
  if (c.written) {
    EXPECT_EQ(err, "");
  } else {
    EXPECT_NE(err.find("could not write " + name.string()), std::string::npos) << err;
  }
  std::set<std::string> expected = before;
  expected.insert("shot.png");
  EXPECT_EQ(folder.entries(), expected) << "a temporary file was left";
  c.check(name);
}

INSTANTIATE_TEST_SUITE_P(
    Names, PngWriterTest,
    ::testing::Values(NameCase{"a new name", [](const fs::path&) { return true; }, true,
                               [](const fs::path& name) {
                                 expectTheImage(name);
                                 const mode_t mask = umask(0);
                                 umask(mask);
                                 EXPECT_EQ(modeOf(name), 0666 & ~mask);
                               }},
                      NameCase{"a regular file",
                               [](const fs::path& name) {
                                 std::ofstream(name) << "an older picture";
                                 return chmod(name.c_str(), 0640) == 0;
                               },
                               true,
                               [](const fs::path& name) {
                                 expectTheImage(name);
                                 EXPECT_EQ(modeOf(name), 0640u);
                               }},
                      NameCase{"a link to a regular file",
                               [](const fs::path& name) {
                                 std::ofstream(name.parent_path() / "real.png") << "an older picture";
                                 fs::create_symlink("real.png", name);
                                 return true;
                               },
                               true,
                               [](const fs::path& name) {
                                 EXPECT_TRUE(fs::is_symlink(name));
                                 expectTheImage(name.parent_path() / "real.png");
                               }},
                      NameCase{"a link to a full device",
                               [](const fs::path& name) {
                                 fs::create_symlink("/dev/full", name);
                                 return fs::exists("/dev/full");
                               },
                               false,
                               [](const fs::path& name) {
                                 EXPECT_TRUE(fs::is_symlink(name));
                                 EXPECT_TRUE(fs::is_character_file("/dev/full"));
                               }},
                      NameCase{"a full device of our own",
                               [](const fs::path& name) {
                                 return mknod(name.c_str(), S_IFCHR | 0600, makedev(1, 7)) == 0;
                               },
                               false, [](const fs::path& name) { EXPECT_TRUE(fs::is_character_file(name)); }},
                      NameCase{"a pipe without a reader",
                               [](const fs::path& name) { return mkfifo(name.c_str(), 0600) == 0; }, false,
                               [](const fs::path& name) { EXPECT_TRUE(fs::is_fifo(name)); }},
                      NameCase{"a folder",
                               [](const fs::path& name) {
                                 fs::create_directory(name);
                                 std::ofstream(name / "kept") << "kept";
                                 return true;
                               },
                               false,
                               [](const fs::path& name) {
                                 EXPECT_TRUE(fs::is_directory(name));
                                 EXPECT_EQ(readAll(name / "kept"), "kept");
                               }}),
    [](const auto& info) {
      std::string name;
      for (const char* c = info.param.what; *c; ++c) {
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
      }
      return name;
    });

}  // namespace
