#include "host/window_placements.h"

#include <algorithm>

namespace {

// Whether two areas share pixels.
bool overlap(const DisplayArea& a, const DisplayArea& b) {
  return a.width > 0 && a.height > 0 && b.width > 0 && b.height > 0 && a.x < b.x + b.width &&
         b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

bool overlapsAny(const DisplayArea& area, const std::vector<WindowPlacement>& taken) {
  return std::any_of(taken.begin(), taken.end(),
                     [&area](const WindowPlacement& placement) { return overlap(area, placement.area); });
}

}  // namespace

Size fittedToDisplay(Size size, const std::vector<DisplayArea>& displays) {
  if (displays.empty()) {
    return size;
  }
  const DisplayArea& first = displays.front();
  return Size{std::min(size.width, static_cast<double>(first.width)),
              std::min(size.height, static_cast<double>(first.height))};
}

SideBySide sideBySide(const DisplayArea& display, Size preview, Size sheet) {
  const int previewWidth = static_cast<int>(preview.width);
  const int sheetWidth = static_cast<int>(sheet.width);
  const int left = display.x + std::max(0, (display.width - previewWidth - kSideBySideGap - sheetWidth) / 2);
  const int sheetLeft = std::max(
      display.x, std::min(left + previewWidth + kSideBySideGap, display.x + display.width - sheetWidth));
  const auto top = [&](double height) {
    return display.y + std::max(0, (display.height - static_cast<int>(height)) / 2);
  };
  return SideBySide{{left, top(preview.height)}, {sheetLeft, top(sheet.height)}};
}

std::vector<WindowPlacement> windowPlacements(const RunOptions& options,
                                              const std::vector<DisplayArea>& displays) {
  std::vector<WindowPlacement> placements;
  if (options.mode == SaverMode::FullScreen) {
    for (const DisplayArea& area : displays) {
      if (!overlapsAny(area, placements)) {
        placements.push_back({"Swirlmote", area, false, true});
      }
    }
  } else if (options.mode != SaverMode::ForeignWindow) {
    const Size size = fittedToDisplay(
        options.size.value_or(options.mode == SaverMode::Preview ? kPreviewSize : kWindowSize), displays);
    placements.push_back(
        {"Swirlmote", {0, 0, static_cast<int>(size.width), static_cast<int>(size.height)}, true, false});
  }
  return placements;
}
