#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "host/arguments.h"
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
};

// Every option of the program, each once.
inline constexpr CommandOption kCommandOptions[] = {
    {"--fullscreen",
     "",
     OptionValue::None,
     "",
     kSaver,
     OptionSection::Mode,
     "blank every display; any key, button or pointer movement ends it",
     {}},
    {"--background",
     "",
     OptionValue::None,
     "",
     kSaver,
     OptionSection::Mode,
     "a living wallpaper under every window on each output (Wayland with layer-shell); ends on SIGTERM",
     {}},
    {"--preview", "", OptionValue::None, "", kSaver, OptionSection::Mode, "a small preview window", {}},
    {"--configure",
     "",
     OptionValue::None,
     "",
     kSaver,
     OptionSection::Mode,
     "a preview with its settings sheet; OK or Cancel ends it",
     {}},
    {"--root",
     "-root",
     OptionValue::None,
     "",
     kSaver,
     OptionSection::Mode,
     "draw into the root window, or into XSCREENSAVER_WINDOW when set",
     {}},
    {"--window-id",
     "-window-id",
     OptionValue::Text,
     "ID",
     kSaver,
     OptionSection::Mode,
     "draw into another program's X window (0x... or decimal)",
     {}},
    {"--help", "-h", OptionValue::None, "", kTakenFirstOnly, OptionSection::General, "show this text", {}},
    {"--version", "", OptionValue::None, "", kTakenFirstOnly, OptionSection::General, "show the version", {}},
    {"--seed",
     "",
     OptionValue::Integer,
     "S",
     kSaver | kRender | kSimulate,
     OptionSection::General,
     "seed the random generator with S instead of the clock",
     {}},
    {"--frames",
     "",
     OptionValue::Integer,
     "N",
     kSaver | kRender | kSimulate,
     OptionSection::General,
     "stop after N frames",
     {}},
    {"--size",
     "",
     OptionValue::Text,
     "WxH",
     kSaver | kRender,
     OptionSection::General,
     "the window's size (default 1280x720, preview 320x200)",
     {}},
    {"--screenshot",
     "",
     OptionValue::Text,
     "F",
     kSaver,
     OptionSection::General,
     "write the last frame (of the first display) to the PNG file F",
     {}},
    {"--renderer",
     "",
     OptionValue::Text,
     "R",
     kSaver | kRender,
     OptionSection::General,
     "draw the sprites one by one (classic, the default) or batched",
     {}},
    {"--out",
     "",
     OptionValue::Text,
     "DIR",
     kRender,
     OptionSection::Render,
     "the directory the PNG files go into",
     {}},
    {"--every",
     "",
     OptionValue::Integer,
     "K",
     kRender,
     OptionSection::Render,
     "write every K-th frame as well as the last",
     {}},
    {"--cyclones", "", OptionValue::Integer, "N", kSaver | kRender | kSimulate, OptionSection::Setting,
     "number of cyclones", key::cyclones.range},
    {"--particles", "", OptionValue::Integer, "N", kSaver | kRender | kSimulate, OptionSection::Setting,
     "particles per cyclone", key::particles.range},
    {"--shape",
     "",
     OptionValue::Shape,
     "NAME",
     kSaver | kRender | kSimulate,
     OptionSection::Setting,
     "the particles' shape, one of",
     {}},
    {"--scale", "", OptionValue::Number, "F", kSaver | kRender | kSimulate, OptionSection::Setting,
     "particle size", key::scale.range},
    {"--afterimages",
     "",
     OptionValue::None,
     "",
     kSaver | kRender | kSimulate,
     OptionSection::Setting,
     "fading trails on",
     {}},
    {"--no-afterimages",
     "",
     OptionValue::None,
     "",
     kSaver | kRender | kSimulate,
     OptionSection::Setting,
     "fading trails off",
     {}},
    {"--particle-color",
     "",
     OptionValue::Text,
     "auto|COLOR",
     kSaver | kRender | kSimulate,
     OptionSection::Setting,
     "the cyclones' hues, or one colour (see COLOR below)",
     {}},
    {"--background-color",
     "",
     OptionValue::Text,
     "cycling|COLOR",
     kSaver | kRender | kSimulate,
     OptionSection::Setting,
     "slowly cycling dark hues, or one colour (see COLOR below)",
     {}},
    {"--fps",
     "-fps",
     OptionValue::None,
     "",
     kSaver | kRender,
     OptionSection::Hack,
     "draw the frame rate and the load (the share of each frame interval spent drawing) in a corner",
     {}},
    {"--no-fps",
     "-no-fps",
     OptionValue::None,
     "",
     kSaver | kRender,
     OptionSection::Hack,
     "no frame rate (the default)",
     {}},
    {"--delay", "-delay", OptionValue::Integer, "USECS", kSaver | kRender, OptionSection::Hack,
     "a pause per frame over the 1/60 s interval (render ignores it)", KeyRange{0, 10000000}},
    {"--install",
     "-install",
     OptionValue::None,
     "",
     kSaver | kRender,
     OptionSection::Hack,
     "accepted and ignored",
     {}},
    {"--noinstall",
     "-noinstall",
     OptionValue::None,
     "",
     kSaver | kRender,
     OptionSection::Hack,
     "accepted and ignored",
     {}},
    {"--visual",
     "-visual",
     OptionValue::Text,
     "NAME",
     kSaver | kRender,
     OptionSection::Hack,
     "accepted and ignored",
     {}},
    {"--mono",
     "-mono",
     OptionValue::None,
     "",
     kSaver | kRender,
     OptionSection::Hack,
     "accepted and ignored",
     {}},
    {"--window",
     "-window",
     OptionValue::None,
     "",
     kSaver | kRender,
     OptionSection::Hack,
     "accepted and ignored",
     {}},
};

static_assert(kShapeNames.size() == kSpriteImageCount, "a name for each sprite image");

// "circle face ... ring".
std::string shapeList();

// A range as --help and the refusals write it: "1 to 10", "0.5 to 2.0";
// empty without one.
std::string rangeText(const CommandOption& option);

// The option that the command line's word names, by its name or its alias;
// null when there is none.
const CommandOption* findOption(std::string_view word);

// The option that the word names when one of takers takes it; otherwise
// null, after "unknown option" on stderr.
const CommandOption* takenOption(std::string_view word, unsigned takers, const ArgumentReader& reader);

// --help's text: the commands' synopses, then the options by section.
std::string usageText();
