#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "host/option_parse.h"
#include "host/option_values.h"
#include "render/renderer.h"
#include "render/sprite_names.h"
#include "settings/keys.h"
#include "settings/shape_names.h"

// Who takes an option: the saver's window modes, render, simulate; or
// nobody but the program's first argument (--help, --version).
enum OptionTaker : unsigned {
  kTakenFirstOnly = 0,
  kSaver = 1,
  kRender = 2,
  kSimulate = 4,
};

// The part of --help that lists an option.
enum class OptionSection { Mode, General, Render, Setting, Hack };

// What follows an option on the command line.
// An integer or number may have a range, which --help shows; a shape is
// one of kShapeNames, which --help lists.
enum class OptionValue { None, Integer, Number, Text, Shape };

struct CommandOption {
  std::string_view name;       // "--window-id"
  std::string_view alias;      // another spelling ("-window-id"), or empty
  OptionValue value;           // what follows it
  std::string_view valueName;  // the value as --help shows it ("ID")
  unsigned takers;             // OptionTaker bits
  OptionSection section;
  std::string_view help;
  std::optional<KeyRange> range;  // a setting's range: its key's
  // Reads the option's value into the field it sets; null for the options
  // that only the first argument takes.
  bool (*read)(OptionParse& parse);
};

// "circle face ... ring".
std::string shapeList();

inline constexpr unsigned kDrawing = kSaver | kRender;
inline constexpr unsigned kEveryCommand = kSaver | kRender | kSimulate;

// Every option of the program, each once, with what it sets.
// clang-format off
inline constexpr CommandOption kCommandOptions[] = {
    {"--fullscreen", "", OptionValue::None, "", kSaver, OptionSection::Mode, "blank every display; any key, button or pointer movement ends it", {}, [](OptionParse& p) { return p.choose(ModeChoice::FullScreen); }},
    {"--background", "", OptionValue::None, "", kSaver, OptionSection::Mode, "a living wallpaper under every window on each output (Wayland with layer-shell); ends on SIGTERM", {}, [](OptionParse& p) { return p.choose(ModeChoice::Background); }},
    {"--preview", "", OptionValue::None, "", kSaver, OptionSection::Mode, "a small preview window", {}, [](OptionParse& p) { return p.choose(ModeChoice::Preview); }},
    {"--configure", "", OptionValue::None, "", kSaver, OptionSection::Mode, "a preview with its settings sheet; OK or Cancel ends it", {}, [](OptionParse& p) { return p.choose(ModeChoice::Configure); }},
    {"--root", "-root", OptionValue::None, "", kSaver, OptionSection::Mode, "draw into the root window, or into XSCREENSAVER_WINDOW when set", {}, [](OptionParse& p) { return p.choose(ModeChoice::HostWindow); }},
    {"--window-id", "-window-id", OptionValue::Text, "ID", kSaver, OptionSection::Mode, "draw into another program's X window (0x... or decimal)", {}, [](OptionParse& p) { return p.choose(ModeChoice::HostWindow) && p.text(p.run.windowId, parseWindowId, "a window id such as 0x400e23 or 4197923"); }},
    {"--help", "-h", OptionValue::None, "", kTakenFirstOnly, OptionSection::General, "show this text", {}, nullptr},
    {"--version", "", OptionValue::None, "", kTakenFirstOnly, OptionSection::General, "show the version", {}, nullptr},
    {"--seed", "", OptionValue::Integer, "S", kEveryCommand, OptionSection::General, "seed the random generator with S instead of the clock", {}, [](OptionParse& p) { return p.whole(p.run.seed, {0, 4294967295}); }},
    {"--frames", "", OptionValue::Integer, "N", kEveryCommand, OptionSection::General, "stop after N frames", {}, [](OptionParse& p) { return p.whole(p.run.frames, p.frameRange()); }},
    {"--size", "", OptionValue::Text, "WxH", kDrawing, OptionSection::General, "the window's size (default 1280x720, preview 320x200)", {}, [](OptionParse& p) { return p.text(p.run.size, parseSize, "WIDTHxHEIGHT, each from 1 to 16384, such as 1280x720"); }},
    {"--screenshot", "", OptionValue::Text, "F", kDrawing, OptionSection::General, "write the last frame (of the first display) to the PNG file F", {}, [](OptionParse& p) { return p.name(p.run.screenshot, "a file name"); }},
    {"--renderer", "", OptionValue::Text, "R", kDrawing, OptionSection::General, "draw the sprites one by one (classic, the default) or batched", {}, [](OptionParse& p) { return p.text(p.run.renderer, rendererNamed, "classic or batched"); }},
    {"--no-stored-settings", "", OptionValue::None, "", kEveryCommand, OptionSection::General, "settings not given here take their defaults, not the stored ones (as XScreenSaver's settings dialog asks)", {}, [](OptionParse& p) { return p.set(p.run.overrides.storeIgnored, true); }},
    {"--out", "", OptionValue::Text, "DIR", kRender, OptionSection::Render, "the directory the PNG files go into", {}, [](OptionParse& p) { return p.name(p.run.out, "a directory name"); }},
    {"--every", "", OptionValue::Integer, "K", kRender, OptionSection::Render, "write every K-th frame as well as the last", {}, [](OptionParse& p) { return p.whole(p.run.every, {1, 100000000}); }},
    {"--paced", "", OptionValue::None, "", kRender, OptionSection::Render, "one frame each frame interval, as a running saver draws, not one after another", {}, [](OptionParse& p) { return p.set(p.run.paced, true); }},
    {"--cyclones", "", OptionValue::Integer, "N", kEveryCommand, OptionSection::Setting, "number of cyclones", key::cyclones.range, [](OptionParse& p) { return p.whole(p.run.overrides.cyclones); }},
    {"--particles", "", OptionValue::Integer, "N", kEveryCommand, OptionSection::Setting, "particles per cyclone", key::particles.range, [](OptionParse& p) { return p.whole(p.run.overrides.particlesPerCyclone); }},
    {"--shape", "", OptionValue::Shape, "NAME", kEveryCommand, OptionSection::Setting, "the particles' shape, one of", {}, [](OptionParse& p) { return p.text(p.run.overrides.shape, shapeFromName, "one of " + shapeList()); }},
    {"--scale", "", OptionValue::Number, "F", kEveryCommand, OptionSection::Setting, "particle size", key::scale.range, [](OptionParse& p) { return p.number(p.run.overrides.scale); }},
    {"--afterimages", "", OptionValue::None, "", kEveryCommand, OptionSection::Setting, "fading trails on", {}, [](OptionParse& p) { return p.set(p.run.overrides.afterimages, true); }},
    {"--no-afterimages", "", OptionValue::None, "", kEveryCommand, OptionSection::Setting, "fading trails off", {}, [](OptionParse& p) { return p.set(p.run.overrides.afterimages, false); }},
    {"--particle-color", "", OptionValue::Text, "auto|COLOR", kEveryCommand, OptionSection::Setting, "the cyclones' hues, or one colour (see COLOR below)", {}, [](OptionParse& p) { return p.color(p.run.overrides.particleColor, "auto"); }},
    {"--background-color", "", OptionValue::Text, "cycling|COLOR", kEveryCommand, OptionSection::Setting, "slowly cycling dark hues, or one colour (see COLOR below)", {}, [](OptionParse& p) { return p.color(p.run.overrides.backgroundColor, "cycling"); }},
    {"--fps", "-fps", OptionValue::None, "", kDrawing, OptionSection::Hack, "draw the frame rate and the load (the share of each frame interval spent drawing) in a corner", {}, [](OptionParse& p) { return p.set(p.run.hacks.showFrameRate, true); }},
    {"--no-fps", "-no-fps", OptionValue::None, "", kDrawing, OptionSection::Hack, "no frame rate (the default)", {}, [](OptionParse& p) { return p.set(p.run.hacks.showFrameRate, false); }},
    {"--delay", "-delay", OptionValue::Integer, "USECS", kDrawing, OptionSection::Hack, "a pause per frame on top of 1/60 s (render: with --paced)", KeyRange{0, 10000000}, [](OptionParse& p) { return p.whole(p.run.hacks.delay); }},
    {"--install", "-install", OptionValue::None, "", kDrawing, OptionSection::Hack, "accepted and ignored", {}, [](OptionParse& p) { return p.skip(); }},
    {"--noinstall", "-noinstall", OptionValue::None, "", kDrawing, OptionSection::Hack, "accepted and ignored", {}, [](OptionParse& p) { return p.skip(); }},
    {"--visual", "-visual", OptionValue::Text, "NAME", kDrawing, OptionSection::Hack, "accepted and ignored", {}, [](OptionParse& p) { return p.skip(); }},
    {"--mono", "-mono", OptionValue::None, "", kDrawing, OptionSection::Hack, "accepted and ignored", {}, [](OptionParse& p) { return p.skip(); }},
    {"--window", "-window", OptionValue::None, "", kDrawing, OptionSection::Hack, "accepted and ignored", {}, [](OptionParse& p) { return p.skip(); }},
};
// clang-format on

static_assert(kShapeNames.size() == kSpriteImageCount, "a name for each sprite image");

// The row of the table that the name names; a name not in the table does
// not compile.
consteval const CommandOption& optionNamed(std::string_view name) {
  for (const CommandOption& option : kCommandOptions) {
    if (option.name == name) return option;
  }
  throw "no option of that name";
}

// The rows that code outside the parse looks for.
inline constexpr const CommandOption& kHelpOption = optionNamed("--help");
inline constexpr const CommandOption& kVersionOption = optionNamed("--version");
inline constexpr const CommandOption& kRootOption = optionNamed("--root");
inline constexpr const CommandOption& kWindowIdOption = optionNamed("--window-id");

// A range as --help and the refusals write it: "1 to 10", "0.5 to 2.0";
// empty without one.
std::string rangeText(const CommandOption& option);

// The option that the command line's word names, by its name or its alias;
// null when there is none.
const CommandOption* findOption(std::string_view word);

// --help's text: the commands' synopses, then the options by section.
std::string usageText();
