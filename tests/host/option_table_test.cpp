#include "host/option_table.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

TEST(OptionTable, NamesEachOptionOnce) {
  std::set<std::string_view> words;
  for (const CommandOption& option : kCommandOptions) {
    EXPECT_TRUE(words.insert(option.name).second) << option.name;
    if (!option.alias.empty()) {
      EXPECT_TRUE(words.insert(option.alias).second) << option.alias;
      EXPECT_EQ(findOption(option.alias), &option);
    }
    EXPECT_EQ(findOption(option.name), &option);
    EXPECT_EQ(option.value == OptionValue::None, option.valueName.empty()) << option.name;
  }
  EXPECT_EQ(findOption("-root"), findOption("--root"));
  EXPECT_EQ(findOption("--bogus"), nullptr);
  EXPECT_EQ(findOption(""), nullptr);
}

// --help shows every option with its value, and a setting's range or the
// shapes it takes.
TEST(OptionTable, HelpListsEveryOption) {
  const std::string help = usageText();
  for (const CommandOption& option : kCommandOptions) {
    SCOPED_TRACE(option.name);
    std::string label = "\n  " + std::string(option.name);
    if (!option.valueName.empty()) label += " " + std::string(option.valueName);
    const std::size_t at = help.find(label);
    ASSERT_NE(at, std::string::npos);
    const std::string entry = help.substr(at, help.find("\n  -", at + 1) - at);
    if (option.range) {
      EXPECT_NE(entry.find(rangeText(option)), std::string::npos) << entry;
    }
    if (option.value == OptionValue::Shape) {
      for (const std::string_view shape : kShapeNames) {
        EXPECT_NE(entry.find(" " + std::string(shape)), std::string::npos) << entry;
      }
    }
  }
}

TEST(OptionTable, RangesReadAsTheirKind) {
  EXPECT_EQ(rangeText(*findOption("--cyclones")), "1 to 10");
  EXPECT_EQ(rangeText(*findOption("--particles")), "50 to 200");
  EXPECT_EQ(rangeText(*findOption("--scale")), "0.5 to 2.0");
  EXPECT_EQ(rangeText(*findOption("--seed")), "");
}

// What an option given with a value sets, after the options before it.
struct Binding {
  std::string_view name;
  std::vector<std::string_view> value;
  std::function<bool(const RunOptions&)> sets;  // null: read and dropped
  std::vector<std::string_view> before = {};
};

// The options read as one of command's, word spelling the option of the row
// and the row's reader reading it.
std::optional<RunOptions> readAs(const CommandOption& row, std::string_view word, const Binding& binding) {
  const unsigned command = (row.takers & kSaver) ? kSaver : kRender;
  OptionParse parse(command, binding.value, nullptr);
  for (const std::string_view before : binding.before) {
    EXPECT_TRUE(parse.read(*findOption(before), before));
  }
  if (!parse.read(row, word) || !parse.done()) return std::nullopt;
  // Render's checks want more options than one.
  return command == kSaver ? parse.finish() : parse.run;
}

// Every spelling of an option, its name, its alias and either with one dash
// or two, sets the one field that its row binds it to.
TEST(OptionTable, EverySpellingSetsTheOptionsField) {
  using O = const RunOptions&;
  const Binding bindings[] = {
      {"--fullscreen", {}, [](O o) { return o.mode == SaverMode::FullScreen; }},
      {"--background", {}, [](O o) { return o.mode == SaverMode::Background; }},
      {"--preview", {}, [](O o) { return o.mode == SaverMode::Preview && !o.configure; }},
      {"--configure", {}, [](O o) { return o.mode == SaverMode::Preview && o.configure; }},
      {"--root", {}, [](O o) { return o.mode == SaverMode::ForeignWindow && !o.windowId; }},
      {"--window-id", {"0x2a"}, [](O o) { return o.mode == SaverMode::ForeignWindow && o.windowId == 42u; }},
      {"--seed", {"7"}, [](O o) { return o.seed == 7u && !o.frames; }},
      {"--frames", {"7"}, [](O o) { return o.frames == 7 && !o.seed; }},
      {"--size", {"7x9"}, [](O o) { return o.size && o.size->width == 7 && o.size->height == 9; }},
      {"--screenshot", {"a.png"}, [](O o) { return o.screenshot == "a.png" && o.out.empty(); }},
      {"--renderer", {"batched"}, [](O o) { return o.renderer == Renderer::Batched; }},
      {"--no-stored-settings", {}, [](O o) { return o.overrides.storeIgnored; }},
      {"--out", {"dir"}, [](O o) { return o.out == "dir" && o.screenshot.empty(); }},
      {"--every", {"7"}, [](O o) { return o.every == 7 && !o.frames; }},
      {"--paced", {}, [](O o) { return o.paced && o.every == 0; }},
      {"--cyclones",
       {"7"},
       [](O o) { return o.overrides.cyclones == 7 && !o.overrides.particlesPerCyclone; }},
      {"--particles",
       {"70"},
       [](O o) { return o.overrides.particlesPerCyclone == 70 && !o.overrides.cyclones; }},
      {"--shape", {"ring"}, [](O o) { return o.overrides.shape == 9; }},
      {"--scale", {"1.5"}, [](O o) { return o.overrides.scale == 1.5f; }},
      {"--afterimages", {}, [](O o) { return o.overrides.afterimages == true; }},
      {"--no-afterimages", {}, [](O o) { return o.overrides.afterimages == false; }},
      {"--particle-color",
       {"auto"},
       [](O o) {
         return o.overrides.particleColor && !*o.overrides.particleColor && !o.overrides.backgroundColor;
       }},
      {"--background-color",
       {"cycling"},
       [](O o) {
         return o.overrides.backgroundColor && !*o.overrides.backgroundColor && !o.overrides.particleColor;
       }},
      {"--fps", {}, [](O o) { return o.hacks.showFrameRate; }},
      {"--no-fps", {}, [](O o) { return !o.hacks.showFrameRate; }, {"--fps"}},
      {"--delay", {"7"}, [](O o) { return o.hacks.delay == std::chrono::microseconds(7); }},
      {"--install", {}, nullptr},
      {"--noinstall", {}, nullptr},
      {"--visual", {"default"}, nullptr},
      {"--mono", {}, nullptr},
      {"--window", {}, nullptr},
  };
  std::set<const CommandOption*> bound;
  for (const Binding& binding : bindings) {
    const CommandOption* row = findOption(binding.name);
    ASSERT_TRUE(row && row->read) << binding.name;
    bound.insert(row);
    const std::string other = binding.name.starts_with("--") ? std::string(binding.name.substr(1))
                                                             : "-" + std::string(binding.name);
    std::vector<std::string> spellings{std::string(row->name), other};
    if (!row->alias.empty()) spellings.emplace_back(row->alias);
    for (const std::string& spelling : spellings) {
      SCOPED_TRACE(spelling);
      const auto options = readAs(*row, spelling, binding);
      ASSERT_TRUE(options);
      if (binding.sets) {
        EXPECT_TRUE(binding.sets(*options));
      }
    }
  }
  for (const CommandOption& option : kCommandOptions) {
    EXPECT_TRUE(!option.read || bound.contains(&option)) << option.name << " has no case here";
  }
}

}  // namespace
