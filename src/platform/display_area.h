#pragma once

#include <optional>
#include <string>

// A display's area, or a window's, in pixels of the screen.
struct DisplayArea {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const DisplayArea&) const = default;
};

// Where a window of our own opens: a titled, resizable window centred on the
// first display, or a borderless one covering one display's area.
struct WindowPlacement {
  std::string title;
  DisplayArea area;
  bool centred = false;        // area's size, centred; its place unused
  bool coversDisplay = false;  // borderless over the display at area
};
