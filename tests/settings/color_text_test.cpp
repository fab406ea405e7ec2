#include "settings/color_text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr float byte(int value) {
  return static_cast<float>(value) / 255.0f;
}

struct ColorCase {
  const char* text;
  float red;
  float green;
  float blue;
};

TEST(ColorFromText, ReadsEachForm) {
  const ColorCase cases[] = {
      // Names, without case or spaces; the database's first and last.
      {"orange", byte(255), byte(165), byte(0)},
      {"SteelBlue", byte(70), byte(130), byte(180)},
      {"light goldenrod", byte(238), byte(221), byte(130)},
      {"LIGHT GOLDENROD", byte(238), byte(221), byte(130)},
      {"LightGoldenrod", byte(238), byte(221), byte(130)},
      {"gray1", byte(3), byte(3), byte(3)},
      {"gray10", byte(26), byte(26), byte(26)},
      {"AliceBlue", byte(240), byte(248), byte(255)},
      {"YellowGreen", byte(154), byte(205), byte(50)},
      // '#': each component's high bits.
      {"#f80", byte(0xf0), byte(0x80), byte(0)},
      {"#FF8800", byte(0xff), byte(0x88), byte(0)},
      {"#0a0B0c", byte(10), byte(11), byte(12)},
      {"#fff800010", byte(0xff), byte(0x80), byte(0x01)},
      {"#ffff80ff00ff", byte(0xff), byte(0x80), byte(0x00)},
      // rgb: each component scaled to its own full range.
      {"rgb:f/8/0", 1.0f, 8.0f / 15.0f, 0.0f},
      {"rgb:ff/88/00", byte(0xff), byte(0x88), byte(0)},
      {"RGB:fff/800/0", 1.0f, 2048.0f / 4095.0f, 0.0f},
      {"rgb:ffff/8000/1", 1.0f, 32768.0f / 65535.0f, 1.0f / 15.0f},
      // Six digits without '#', as stored command lines have them.
      {"FF8000", byte(255), byte(128), byte(0)},
  };
  for (const ColorCase& c : cases) {
    SCOPED_TRACE(c.text);
    const auto color = colorFromText(c.text);
    ASSERT_TRUE(color);
    EXPECT_EQ(color->r, c.red);
    EXPECT_EQ(color->g, c.green);
    EXPECT_EQ(color->b, c.blue);
    EXPECT_EQ(color->a, 1.0f);
  }
}

TEST(ColorFromText, RefusesWhatIsNoColour) {
  const char* cases[] = {
      "",
      " ",
      "#",
      "#12",
      "#1234",
      "#1234567",
      "#ff880g",
      "#ff8800 ",
      "# ff8800",
      "#ffff0000ffff0",
      "#fffff0000000000",
      "rgb:1/2",
      "rgb:",
      "rgb:1/2/3/4",
      "rgb:12345/0/0",
      "rgb:1//3",
      "rgb:1/2/3x",
      "rgb:1/2/g",
      "rgb 1/2/3",
      "ff880",
      "ff88000",
      "+f8800",
      "notacolour",
      "orange!",
      "orange1x",
      "light-goldenrod",
  };
  for (const char* text : cases) {
    EXPECT_FALSE(colorFromText(text)) << "'" << text << "'";
  }
}

// Every line of the colour database the program was built from names its
// colour, in the spelling the file has.
TEST(ColorFromText, KnowsEveryNameOfTheDatabase) {
  std::ifstream file(SWIRLMOTE_RGB_TXT);
  ASSERT_TRUE(file) << "cannot read " SWIRLMOTE_RGB_TXT;
  int names = 0;
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line[0] == '!') continue;
    std::istringstream fields(line);
    int red = 0, green = 0, blue = 0;
    fields >> red >> green >> blue >> std::ws;
    std::string name;
    std::getline(fields, name);
    SCOPED_TRACE(name);
    const auto color = colorFromText(name);
    ASSERT_TRUE(color);
    EXPECT_EQ(color->r, byte(red));
    EXPECT_EQ(color->g, byte(green));
    EXPECT_EQ(color->b, byte(blue));
    ++names;
  }
  EXPECT_GT(names, 700);
}

}  // namespace
