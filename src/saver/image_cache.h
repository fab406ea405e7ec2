#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "render/image.h"

// The process-wide table of images by name. Entered images live until the
// process ends (or the table is emptied), so the pointers handed out stay
// valid across views and resizes. Main thread only.
class ImageCache {
 public:
  // The image entered under the name, or null.
  static const Image* imageNamed(std::string_view name);
  // Enters the image under the name and returns it. A name already taken
  // keeps its image, which is returned instead; a null image enters nothing.
  static const Image* setName(std::unique_ptr<Image> image, std::string name);
  // Drops every entry; pointers handed out before become invalid.
  static void removeAll();
};
