#include "host/window_placements.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

RunOptions inMode(SaverMode mode, std::optional<Size> size = std::nullopt) {
  RunOptions options;
  options.mode = mode;
  options.size = size;
  return options;
}

std::vector<DisplayArea> areas(const std::vector<WindowPlacement>& placements) {
  std::vector<DisplayArea> result;
  for (const auto& p : placements) result.push_back(p.area);
  return result;
}

TEST(WindowPlacements, TheWindowAndThePreviewAreOneResizableWindow) {
  const std::vector<DisplayArea> displays{{0, 0, 1920, 1080}};
  const auto window = windowPlacements(inMode(SaverMode::Window), displays);
  ASSERT_EQ(window.size(), 1u);
  EXPECT_EQ(window[0].title, "Swirlmote");
  EXPECT_EQ(window[0].area.width, 1280);
  EXPECT_EQ(window[0].area.height, 720);
  EXPECT_TRUE(window[0].centred);
  EXPECT_FALSE(window[0].coversDisplay);

  const auto preview = windowPlacements(inMode(SaverMode::Preview), displays);
  ASSERT_EQ(preview.size(), 1u);
  EXPECT_EQ(preview[0].area.width, 320);
  EXPECT_EQ(preview[0].area.height, 200);

  const auto sized = windowPlacements(inMode(SaverMode::Window, Size{640, 360}), displays);
  EXPECT_EQ(sized[0].area.width, 640);
  EXPECT_EQ(sized[0].area.height, 360);
}

TEST(WindowPlacements, FullScreenCoversEachDisplayOnce) {
  struct Case {
    const char* what;
    std::vector<DisplayArea> displays;
    std::vector<DisplayArea> windows;
  };
  const Case cases[] = {
      {"one display", {{0, 0, 1024, 768}}, {{0, 0, 1024, 768}}},
      {"side by side", {{0, 0, 800, 600}, {800, 0, 640, 480}}, {{0, 0, 800, 600}, {800, 0, 640, 480}}},
      {"above and left",
       {{0, 0, 1920, 1080}, {-1280, -300, 1280, 1024}},
       {{0, 0, 1920, 1080}, {-1280, -300, 1280, 1024}}},
      // Mirrored outputs show one area.
      {"mirrored", {{0, 0, 1920, 1080}, {0, 0, 1920, 1080}}, {{0, 0, 1920, 1080}}},
      // Further X screens, which SDL reports at the first one's place.
      {"X screens", {{0, 0, 800, 600}, {0, 0, 640, 480}}, {{0, 0, 800, 600}}},
      {"none", {}, {}},
  };
  for (const Case& c : cases) {
    const auto placements = windowPlacements(inMode(SaverMode::FullScreen), c.displays);
    EXPECT_EQ(areas(placements), c.windows) << c.what;
    for (const auto& p : placements) {
      EXPECT_TRUE(p.coversDisplay) << c.what;
      EXPECT_FALSE(p.centred) << c.what;
    }
  }
}

TEST(WindowPlacements, AForeignWindowNeedsNoneOfOurOwn) {
  EXPECT_TRUE(windowPlacements(inMode(SaverMode::ForeignWindow), {{0, 0, 1024, 768}}).empty());
}

TEST(WindowPlacements, AWindowLargerThanTheFirstDisplayIsHeldToIt) {
  const std::vector<DisplayArea> displays{{0, 0, 1280, 800}, {1280, 0, 3840, 2160}};
  const struct {
    Size asked;
    int width, height;
  } cases[] = {{{16384, 16384}, 1280, 800}, {{2000, 600}, 1280, 600}, {{640, 480}, 640, 480}};
  for (const auto& c : cases) {
    const auto window = windowPlacements(inMode(SaverMode::Window, c.asked), displays);
    ASSERT_EQ(window.size(), 1u);
    EXPECT_EQ(window[0].area.width, c.width) << c.asked.width;
    EXPECT_EQ(window[0].area.height, c.height) << c.asked.height;
  }
  EXPECT_EQ(fittedToDisplay({16384, 16384}, {}).width, 16384) << "no display, nothing to hold it to";
}

// --configure's preview and sheet: side by side with a gap where the
// display is wide enough, each within the display where it is not.
TEST(WindowPlacements, ThePreviewAndTheSheetSitSideBySide) {
  const Size preview{320, 200};
  const Size sheet{508, 378};
  const struct {
    const char* what;
    DisplayArea display;
    ScreenPoint preview;
    ScreenPoint sheet;
  } cases[] = {
      {"centred on the display", {0, 0, 1024, 768}, {86, 284}, {430, 195}},
      {"on a display right of another", {1920, 100, 1280, 1024}, {2134, 512}, {2478, 423}},
      {"too narrow for both: each at an edge", {0, 0, 640, 480}, {0, 140}, {132, 51}},
      {"smaller than the sheet: corners held", {10, 20, 400, 300}, {10, 70}, {10, 20}},
  };
  for (const auto& c : cases) {
    const SideBySide places = sideBySide(c.display, preview, sheet);
    EXPECT_EQ(places.preview.x, c.preview.x) << c.what;
    EXPECT_EQ(places.preview.y, c.preview.y) << c.what;
    EXPECT_EQ(places.sheet.x, c.sheet.x) << c.what;
    EXPECT_EQ(places.sheet.y, c.sheet.y) << c.what;
  }
}
}  // namespace
