#pragma once

#include <optional>
#include <string_view>

// How a frame's sprites reach GL: one matrix and list call per sprite
// (classic), or all of them in one vertex-array draw (batched). Both draw
// the same picture.
enum class Renderer { Classic, Batched };

// "classic" or "batched"; nothing for any other name.
inline std::optional<Renderer> rendererNamed(std::string_view name) {
  if (name == "classic") return Renderer::Classic;
  if (name == "batched") return Renderer::Batched;
  return std::nullopt;
}
