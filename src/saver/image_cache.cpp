#include "saver/image_cache.h"

#include <functional>
#include <map>

namespace {

std::map<std::string, std::unique_ptr<Image>, std::less<>>& table() {
  static std::map<std::string, std::unique_ptr<Image>, std::less<>> images;
  return images;
}

}  // namespace

const Image* ImageCache::imageNamed(std::string_view name) {
  const auto found = table().find(name);
  return found == table().end() ? nullptr : found->second.get();
}

const Image* ImageCache::setName(std::unique_ptr<Image> image, std::string name) {
  if (!image) {
    return nullptr;
  }
  return table().try_emplace(std::move(name), std::move(image)).first->second.get();
}

void ImageCache::removeAll() {
  table().clear();
}
