// XScreenSaver's settings dialog writes the saver's command line from
// data/swirlmote.xml: the description's command, then a switch for each
// control whose value differs from the control's default. What the saver
// then runs with is what the dialog shows, whatever the store holds; a
// programs line written before the command ignored the store still reads
// it.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "host/option_table.h"
#include "host/run_options.h"
#include "settings/color_text.h"
#include "settings/load_defaults.h"
#include "settings/overrides.h"
#include "settings/shape_names.h"
#include "support/config_home.h"

namespace {

// A control of the description as the dialog reads it.
struct Control {
  std::string kind;  // number, boolean, select or string
  std::string id;
  // A number's or a string's "--x %"; a boolean's switch.
  std::string arg;
  // What the control holds until it is changed: a number's default, a
  // select's option without a switch; a boolean is off, a string empty.
  std::string initial;
  // A select's switch for each of its options, by the option's id.
  std::map<std::string, std::string> options;
};

struct Description {
  std::vector<std::string> command;
  std::vector<Control> controls;
};

std::string attribute(const std::string& element, const std::string& name) {
  std::smatch match;
  return std::regex_search(element, match, std::regex("\\b" + name + "=\"([^\"]*)\"")) ? match[1].str() : "";
}

Description readDescription(const std::string& xml) {
  static const std::regex element(
      R"(<(command|number|boolean|string)\b[^>]*>|<select\b([^>]*)>([\s\S]*?)</select>)");
  static const std::regex option(R"(<option\b[^>]*>)");
  Description description;
  for (std::sregex_iterator i(xml.begin(), xml.end(), element), end; i != end; ++i) {
    const std::string text = (*i)[0];
    if (!(*i)[1].matched) {
      Control select{"select", attribute((*i)[2], "id"), "", "", {}};
      const std::string options = (*i)[3];
      for (std::sregex_iterator o(options.begin(), options.end(), option); o != end; ++o) {
        const std::string id = attribute((*o)[0], "id");
        select.options[id] = attribute((*o)[0], "arg-set");
        if (select.options[id].empty()) select.initial = id;
      }
      description.controls.push_back(select);
    } else if ((*i)[1] == "command") {
      description.command.push_back(attribute(text, "arg"));
    } else if ((*i)[1] == "boolean") {
      description.controls.push_back(
          {"boolean", attribute(text, "id"), attribute(text, "arg-set"), "off", {}});
    } else {
      description.controls.push_back(
          {(*i)[1], attribute(text, "id"), attribute(text, "arg"), attribute(text, "default"), {}});
    }
  }
  return description;
}

// What each control holds, by id; a control not named holds its initial
// value.
using Holding = std::map<std::string, std::string>;

std::string held(const Holding& holding, const Control& control) {
  const auto found = holding.find(control.id);
  return found == holding.end() ? control.initial : found->second;
}

// The dialog's switches for what its controls hold.
std::string switches(const Description& description, const Holding& holding) {
  std::string line;
  for (const Control& control : description.controls) {
    const std::string value = held(holding, control);
    std::string words;
    if (control.kind == "number" && std::stod(value) != std::stod(control.initial)) {
      words = std::regex_replace(control.arg, std::regex("%"), value);
    } else if (control.kind == "boolean" && value == "on") {
      words = control.arg;
    } else if (control.kind == "select") {
      words = control.options.at(value);
    } else if (control.kind == "string" && !value.empty()) {
      words = std::regex_replace(control.arg, std::regex("%"), value);
    }
    if (!words.empty()) line += " " + words;
  }
  return line;
}

// The saver's options for a command line, and the settings it runs with
// over the store at storePath; nothing when it warns or refuses.
struct Run {
  RunOptions options;
  Settings settings;
};

std::optional<Run> runWith(const std::string& line, const std::string& storePath) {
  std::vector<std::string> words;
  std::istringstream in(line);
  for (std::string word; in >> word;) words.push_back(word);
  const std::vector<std::string_view> views(words.begin(), words.end());
  testing::internal::CaptureStderr();
  const auto options = parseRunOptions(kSaver, views, "0x1a00007");
  const std::string messages = testing::internal::GetCapturedStderr();
  if (!options || !messages.empty()) {
    ADD_FAILURE() << line << ": " << messages;
    return std::nullopt;
  }
  ScreenSaverDefaults store(storePath, storeGroup());
  Run run{*options, {}};
  loadDefaults(store, run.settings);
  applyOverrides(options->overrides, run.settings);
  return run;
}

// A colour control's value: empty or the plain word for the colour mode 0,
// a colour's text for that colour.
bool colourRuns(const std::string& value, const char* plain, int32_t mode,
                const std::optional<ColorRGBA>& colour) {
  if (value.empty() || value == plain) return mode == 0;
  const auto wanted = colorFromText(value);
  return wanted && mode != 0 && colour && colour->r == wanted->r && colour->g == wanted->g &&
         colour->b == wanted->b && colour->a == wanted->a;
}

// Whether the run does what a control's value asks, by the control's id.
using Runs = std::function<bool(const std::string& value, const Run& run)>;
const std::map<std::string, Runs> kRuns{
    {"cyclones", [](const std::string& v, const Run& r) { return r.settings.no_cyclones == std::stoi(v); }},
    {"particles",
     [](const std::string& v, const Run& r) {
       return r.settings.no_particles == std::stoi(v) * r.settings.no_cyclones;
     }},
    {"scale", [](const std::string& v, const Run& r) { return r.settings.particle_scale == std::stof(v); }},
    {"shape", [](const std::string& v, const Run& r) { return kShapeNames[r.settings.particle_shape] == v; }},
    {"afterimages", [](const std::string& v, const Run& r) { return r.settings.show_ai == (v == "on"); }},
    {"particlecolor",
     [](const std::string& v, const Run& r) {
       return colourRuns(v, "auto", r.settings.color_mode_particle, r.settings.color_particle);
     }},
    {"backgroundcolor",
     [](const std::string& v, const Run& r) {
       return colourRuns(v, "cycling", r.settings.color_mode_background, r.settings.color_background);
     }},
    {"showfps",
     [](const std::string& v, const Run& r) { return r.options.hacks.showFrameRate == (v == "on"); }},
};

// The store's settings as the controls would hold them, and the store.
const Holding kStored{{"cyclones", "7"},          {"particles", "150"},  {"scale", "1.75"},
                      {"shape", "note"},          {"afterimages", "on"}, {"particlecolor", "red"},
                      {"backgroundcolor", "blue"}};
const char* const kStoreLines =
    "number of cyclones=7\nnumber of particles=150\nparticle scale=1.75\nparticle shape=4\n"
    "show afterimage=true\nparticle color mode=1\nparticle color red=1\nparticle color green=0\n"
    "particle color blue=0\nparticle color alpha=1\nbackground color mode=1\nbackground color red=0\n"
    "background color green=0\nbackground color blue=1\nbackground color alpha=1\n";

// Every control away from its initial value, as stored and otherwise.
const Holding kAsStored = [] {
  Holding holding = kStored;
  holding["showfps"] = "on";
  return holding;
}();
const Holding kOtherwise{{"cyclones", "4"},
                         {"particles", "200"},
                         {"scale", "0.875"},
                         {"shape", "ring"},
                         {"afterimages", "on"},
                         {"particlecolor", "orange"},
                         {"backgroundcolor", "#000040"},
                         {"showfps", "on"}};

class SettingsDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    description_ = readDescription(readFile(SWIRLMOTE_SOURCE_DIR "/data/swirlmote.xml"));
    for (const Control& control : description_.controls) {
      EXPECT_TRUE(kRuns.contains(control.id)) << "nothing checks the control " << control.id;
    }
    writeFile(home_.storePath(), storeText(kStoreLines));
  }

  // Each holding to try: every control initial, every control away from
  // it, and each control alone back at its initial value.
  std::vector<Holding> holdings() const {
    std::vector<Holding> all{{}, kAsStored, kOtherwise};
    for (const Control& control : description_.controls) {
      for (const Holding& away : {kAsStored, kOtherwise}) {
        Holding holding = away;
        holding.erase(control.id);
        all.push_back(holding);
      }
    }
    return all;
  }

  std::string command() const {
    std::string line;
    for (const std::string& arg : description_.command) line += " " + arg;
    return line;
  }

  TempConfigHome home_;
  Description description_;
};

TEST_F(SettingsDialog, WhatItShowsRuns) {
  ASSERT_FALSE(description_.command.empty());
  EXPECT_EQ(description_.command.front(), "--root");
  for (const std::string& store : {home_.storePath(), home_.dir() + "/nothing-stored.ini"}) {
    for (const Holding& holding : holdings()) {
      const std::string line = command() + switches(description_, holding);
      SCOPED_TRACE(store + ":" + line);
      const auto run = runWith(line, store);
      ASSERT_TRUE(run);
      for (const Control& control : description_.controls) {
        const std::string value = held(holding, control);
        EXPECT_TRUE(kRuns.at(control.id)(value, *run)) << control.id << " shows " << value;
      }
    }
  }
}

// A programs line of the dialog before its command ignored the store: the
// controls left initial take the stored settings.
TEST_F(SettingsDialog, AnOlderLineKeepsTheStoredSettings) {
  for (const Holding& holding : holdings()) {
    const std::string line = " --root" + switches(description_, holding);
    SCOPED_TRACE(line);
    const auto run = runWith(line, home_.storePath());
    ASSERT_TRUE(run);
    for (const Control& control : description_.controls) {
      const bool onTheLine = holding.contains(control.id) || !kStored.contains(control.id);
      const std::string value = onTheLine ? held(holding, control) : kStored.at(control.id);
      EXPECT_TRUE(kRuns.at(control.id)(value, *run)) << control.id << " runs as " << value;
    }
  }
}

}  // namespace
