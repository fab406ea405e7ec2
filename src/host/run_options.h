#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "host/arguments.h"
#include "host/hack_options.h"
#include "host/override_options.h"
#include "render/renderer.h"
#include "saver/geometry.h"
#include "settings/overrides.h"

// What render, simulate and the window modes read alike: the seed, the
// number of frames, the size, the renderer, the settings for this run and
// the hack options.
struct RunOptions {
  std::optional<unsigned> seed;
  std::optional<int64_t> frames;
  std::optional<Size> size;
  std::optional<Renderer> renderer;
  SettingsOverrides overrides;
  HackOptions hacks;
};

// Reads one of --seed S, --frames N (from minFrames to maxFrames), --size
// WxH, --renderer R, a settings option or a hack option and its value into
// options;
// Refused after a message when the value is out of place.
OptionUse readRunOption(std::string_view option, ArgumentReader& reader, RunOptions& options,
                        int64_t minFrames, int64_t maxFrames);
