#include "settings/shape_names.h"

#include <cstddef>

namespace {

struct ShapeAlias {
  std::string_view name;
  int32_t shape;
};

// The sprite files' names, which the command line took before the shapes
// had names of their own.
constexpr ShapeAlias kShapeAliases[] = {{"star_5", 7}, {"star_6", 8}, {"gn", 9}};

}  // namespace

std::optional<int32_t> shapeFromName(std::string_view name) {
  for (std::size_t i = 0; i < kShapeNames.size(); ++i) {
    if (kShapeNames[i] == name) {
      return static_cast<int32_t>(i);
    }
  }
  for (const ShapeAlias& alias : kShapeAliases) {
    if (alias.name == name) {
      return alias.shape;
    }
  }
  return std::nullopt;
}
