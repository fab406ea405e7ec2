#pragma once

#include <memory>
#include <string>

#include "render/image.h"

// Where a view's images come from: the decoder of the module's image files.
class ImageDecoder {
 public:
  virtual ~ImageDecoder() = default;
  // The image in the file; null when it cannot be read (the decoder reports
  // why on stderr).
  virtual std::unique_ptr<Image> imageWithContentsOfFile(const std::string& path) = 0;
};
