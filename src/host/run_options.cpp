#include "host/run_options.h"

#include <string>

#include "host/size_option.h"

OptionUse readRunOption(std::string_view option, ArgumentReader& reader, RunOptions& options,
                        int64_t minFrames, int64_t maxFrames) {
  if (option == "--seed") {
    const auto value = reader.integer(option, 0, 4294967295);
    if (!value) return OptionUse::Refused;
    options.seed = static_cast<unsigned>(*value);
  } else if (option == "--frames") {
    options.frames = reader.integer(option, minFrames, maxFrames);
    if (!options.frames) return OptionUse::Refused;
  } else if (option == "--size") {
    const auto text = reader.value(option);
    if (!text) return OptionUse::Refused;
    options.size = parseSize(*text);
    if (!options.size) {
      reader.refuse("--size takes WIDTHxHEIGHT, each from 1 to 16384, such as 1280x720; not '" +
                    std::string(*text) + "'");
      return OptionUse::Refused;
    }
  } else if (option == "--renderer") {
    const auto text = reader.value(option);
    if (!text) return OptionUse::Refused;
    options.renderer = rendererNamed(*text);
    if (!options.renderer) {
      reader.refuse("--renderer takes classic or batched; not '" + std::string(*text) + "'");
      return OptionUse::Refused;
    }
  } else {
    const OptionUse use = readOverrideOption(option, reader, options.overrides);
    return use == OptionUse::NotOurs ? readHackOption(option, reader, options.hacks) : use;
  }
  return OptionUse::Taken;
}
