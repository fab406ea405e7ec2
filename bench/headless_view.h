#pragma once

#include <memory>
#include <string>

#include "bench_shapes.h"
#include "render/renderer.h"
#include "saver/swirlmote.h"

// A started saver view drawing headless at the size with the shape's
// settings over the store, seeded with kBenchSeed and run on for a few
// seconds so that afterimages and effects are under way. Null without a
// headless GL renderer.
std::unique_ptr<Swirlmote> headlessView(Size size, const BenchShape& shape, Renderer renderer);

// The headless GL renderer and its version, as GL names them.
std::string headlessRendererName();
