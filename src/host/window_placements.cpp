#include "host/window_placements.h"

#include <algorithm>

#include "platform/x_monitors.h"

namespace {

bool overlapsAny(const SDL_Rect& area, const std::vector<SdlWindowPlacement>& taken) {
  for (const SdlWindowPlacement& placement : taken) {
    const SDL_Rect other{placement.x, placement.y, placement.width, placement.height};
    if (SDL_HasIntersection(&area, &other)) {
      return true;
    }
  }
  return false;
}

}  // namespace

Size fittedToDisplay(Size size, const std::vector<SDL_Rect>& displays) {
  if (displays.empty()) {
    return size;
  }
  const SDL_Rect& first = displays.front();
  return Size{std::min(size.width, static_cast<double>(first.w)),
              std::min(size.height, static_cast<double>(first.h))};
}

SideBySide sideBySide(const SDL_Rect& display, Size preview, Size sheet) {
  const int previewWidth = static_cast<int>(preview.width);
  const int sheetWidth = static_cast<int>(sheet.width);
  const int left = display.x + std::max(0, (display.w - previewWidth - kSideBySideGap - sheetWidth) / 2);
  const int sheetLeft =
      std::max(display.x, std::min(left + previewWidth + kSideBySideGap, display.x + display.w - sheetWidth));
  const auto top = [&](double height) {
    return display.y + std::max(0, (display.h - static_cast<int>(height)) / 2);
  };
  return SideBySide{{left, top(preview.height)}, {sheetLeft, top(sheet.height)}};
}

std::vector<SdlWindowPlacement> windowPlacements(const RunOptions& options,
                                                 const std::vector<SDL_Rect>& displays, bool wayland) {
  std::vector<SdlWindowPlacement> placements;
  if (options.mode == SaverMode::FullScreen) {
    // A Wayland client cannot place its windows: it asks the compositor for
    // full screen on the output at the window's place instead.
    const Uint32 covering = wayland ? SDL_WINDOW_FULLSCREEN_DESKTOP : SDL_WINDOW_ALWAYS_ON_TOP;
    for (const SDL_Rect& area : displays) {
      if (!overlapsAny(area, placements)) {
        placements.push_back({"Swirlmote", area.x, area.y, area.w, area.h,
                              SDL_WINDOW_BORDERLESS | covering | SDL_WINDOW_ALLOW_HIGHDPI});
      }
    }
  } else if (options.mode != SaverMode::ForeignWindow) {
    const Size size = fittedToDisplay(
        options.size.value_or(options.mode == SaverMode::Preview ? kPreviewSize : kWindowSize), displays);
    placements.push_back({"Swirlmote", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                          static_cast<int>(size.width), static_cast<int>(size.height),
                          SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI});
  }
  return placements;
}

std::vector<SDL_Rect> displayBounds(bool x11) {
  std::vector<SDL_Rect> bounds;
  if (x11) {
    bounds = xMonitorBounds();
    if (!bounds.empty()) {
      return bounds;
    }
  }
  const int count = SDL_GetNumVideoDisplays();
  for (int i = 0; i < count; ++i) {
    SDL_Rect area;
    if (SDL_GetDisplayBounds(i, &area) == 0) {
      bounds.push_back(area);
    }
  }
  return bounds;
}
