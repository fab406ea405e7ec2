#include <gtest/gtest.h>
#include <sys/wait.h>

#include <bit>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/test_surface.h"
#include "host/view_bring_up.h"
#include "saver/swirlmote.h"
#include "simulation/field.h"
#include "support/config_home.h"
#include "support/process.h"

namespace {

// Just enough JSON for the field: objects, arrays and numbers, the numbers
// kept as their text so that they can be read back exactly.
struct Json {
  enum class Kind { Number, Array, Object } kind = Kind::Number;
  std::string number;
  std::vector<Json> items;
  std::vector<std::pair<std::string, Json>> members;

  const Json& operator[](const std::string& key) const {
    for (const auto& [name, value] : members) {
      if (name == key) {
        return value;
      }
    }
    throw std::runtime_error("no member " + key);
  }
  const Json& operator[](std::size_t i) const { return items.at(i); }
  bool has(const std::string& key) const {
    for (const auto& member : members) {
      if (member.first == key) {
        return true;
      }
    }
    return false;
  }
  std::vector<std::string> keys() const {
    std::vector<std::string> names;
    for (const auto& member : members) {
      names.push_back(member.first);
    }
    return names;
  }
};

class JsonParser {
 public:
  explicit JsonParser(const std::string& text) : text_(text) {}
  // The one value the text holds; throws on anything else.
  Json document() {
    Json value = parse();
    if (pos_ != text_.size()) {
      fail("trailing text");
    }
    return value;
  }

 private:
  [[noreturn]] void fail(const std::string& what) const {
    throw std::runtime_error(what + " at " + std::to_string(pos_));
  }
  char peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
  void expect(char c) {
    if (peek() != c) {
      fail(std::string("expected ") + c);
    }
    ++pos_;
  }
  Json parse() {
    Json value;
    if (peek() == '{') {
      value.kind = Json::Kind::Object;
      ++pos_;
      while (peek() != '}') {
        if (!value.members.empty()) {
          expect(',');
        }
        expect('"');
        const std::size_t end = text_.find('"', pos_);
        if (end == std::string::npos) {
          fail("unterminated name");
        }
        std::string name = text_.substr(pos_, end - pos_);
        pos_ = end + 1;
        expect(':');
        value.members.emplace_back(std::move(name), parse());
      }
      ++pos_;
    } else if (peek() == '[') {
      value.kind = Json::Kind::Array;
      ++pos_;
      while (peek() != ']') {
        if (!value.items.empty()) {
          expect(',');
        }
        value.items.push_back(parse());
      }
      ++pos_;
    } else {
      const std::size_t start = pos_;
      while (pos_ < text_.size() &&
             std::string_view("+-.0123456789eE").find(text_[pos_]) != std::string::npos) {
        ++pos_;
      }
      if (pos_ == start) {
        fail("expected a value");
      }
      value.number = text_.substr(start, pos_ - start);
    }
    return value;
  }

  const std::string& text_;
  std::size_t pos_ = 0;
};

uint32_t bitsOf(const Json& number) {
  return std::bit_cast<uint32_t>(std::strtof(number.number.c_str(), nullptr));
}
long long integerOf(const Json& number) {
  char* end = nullptr;
  const long long value = std::strtoll(number.number.c_str(), &end, 10);
  EXPECT_EQ(*end, '\0') << number.number << " is not a whole number";
  return value;
}

// A store of its own for every test, and the program run against it.
class Simulate : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directories(home_.storeDir()); }

  void store(const std::string& keys) { writeStore(home_.dir(), keys); }
  std::string storedText() const { return readFile(home_.storePath()); }

  ProgramResult run(const std::string& args) const {
    return runShell("'" SWIRLMOTE_BINARY "' simulate " + args);
  }

  // The printed field of a successful run.
  Json field(const std::string& args) const {
    const ProgramResult r = run(args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(!r.out.empty() && r.out.back() == '\n') << "one line of output";
    return JsonParser(r.out.substr(0, r.out.size() - 1)).document();
  }

  TempConfigHome home_;
};

using Names = std::vector<std::string>;

TEST_F(Simulate, PrintsTheFieldUnderItsNames) {
  store("number of cyclones=2\nnumber of particles=50\nshow afterimage=true\n");
  const Json f = field("--seed 7 --frames 0");
  EXPECT_EQ(f.keys(), (Names{"tick", "dir", "rad", "no_cyclones", "no_particles", "cyclones", "particles"}));
  EXPECT_EQ(integerOf(f["tick"]), 0);
  EXPECT_EQ(integerOf(f["no_cyclones"]), 2);
  EXPECT_EQ(integerOf(f["no_particles"]), 100);
  ASSERT_EQ(f["cyclones"].items.size(), 2u);
  for (const Json& c : f["cyclones"].items) {
    EXPECT_EQ(c.keys(), (Names{"moveTimer", "effectTimer", "depthTimer", "pulseRate", "hue", "saturation"}));
  }
  ASSERT_EQ(f["particles"].items.size(), 100u);
  for (const Json& p : f["particles"].items) {
    EXPECT_EQ(p.keys(),
              (Names{"loc", "prevLoc", "ve", "eye", "vel", "sine", "cosine", "yrp", "color", "afterimages"}));
    for (const char* vector : {"loc", "prevLoc", "ve", "eye"}) {
      EXPECT_EQ(p[vector].items.size(), 3u) << vector;
    }
    EXPECT_EQ(p["color"].items.size(), 4u);
    EXPECT_EQ(bitsOf(p["yrp"]), 0u) << "no facing before the first frame";
    ASSERT_EQ(p["afterimages"].items.size(), 4u);
    for (const Json& a : p["afterimages"].items) {
      EXPECT_EQ(a.keys(), (Names{"loc", "count", "color"}));
    }
  }
}

TEST_F(Simulate, LeavesOutAfterimagesWhenTheyAreOff) {
  store("number of cyclones=1\nnumber of particles=50\n");
  const Json f = field("--seed 7 --frames 3");
  EXPECT_EQ(integerOf(f["tick"]), 3);
  for (const Json& p : f["particles"].items) {
    EXPECT_FALSE(p.has("afterimages"));
  }
}

TEST_F(Simulate, TheSameSeedGivesTheSameField) {
  store("number of cyclones=4\nnumber of particles=60\nshow afterimage=true\n");
  const ProgramResult first = run("--seed 31 --frames 200");
  const ProgramResult second = run("--frames 200 --seed 31");
  const ProgramResult other = run("--seed 32 --frames 200");
  ASSERT_EQ(first.status, 0);
  EXPECT_EQ(first.out, second.out);
  EXPECT_NE(first.out, other.out);
}

// Settings on the command line give the field that the same settings in
// the store give, and leave the store as it was.
TEST_F(Simulate, SettingsOptionsActAsStoredSettingsForThisRun) {
  const std::string stored =
      "number of cyclones=3\nnumber of particles=70\nshow afterimage=true\n"
      "particle color mode=1\nparticle color red=1\nparticle color green=0\n"
      "particle color blue=0\nparticle color alpha=1\n";
  store(stored);
  const ProgramResult fromStore = run("--seed 9 --frames 50");
  store("number of cyclones=1\n");
  const ProgramResult fromOptions =
      run("--seed 9 --frames 50 --cyclones 3 --particles 70 --afterimages --particle-color ff0000");
  ASSERT_EQ(fromStore.status, 0) << fromStore.err;
  ASSERT_EQ(fromOptions.status, 0) << fromOptions.err;
  EXPECT_EQ(fromOptions.out, fromStore.out);
  EXPECT_EQ(storedText(), "[org.swirlmote.Swirlmote]\nnumber of cyclones=1\n");
}

// --no-stored-settings: a full store draws the field of an empty one, with
// the settings options over it.
TEST_F(Simulate, WithoutTheStoreTheSettingsAreTheDefaults) {
  const ProgramResult empty = run("--seed 9 --frames 50");
  const ProgramResult fourCyclones = run("--seed 9 --frames 50 --cyclones 4");
  store(
      "number of cyclones=3\nnumber of particles=70\nshow afterimage=true\nparticle shape=4\n"
      "particle scale=1.5\nparticle color mode=1\nparticle color red=1\nparticle color alpha=1\n"
      "background color mode=1\n");
  const ProgramResult ignored = run("--seed 9 --frames 50 --no-stored-settings");
  const ProgramResult ignoredFour = run("--seed 9 --frames 50 --no-stored-settings --cyclones 4");
  for (const ProgramResult* r : {&empty, &fourCyclones, &ignored, &ignoredFour}) {
    ASSERT_EQ(r->status, 0) << r->err;
  }
  EXPECT_EQ(ignored.out, empty.out);
  EXPECT_EQ(ignoredFour.out, fourCyclones.out);
  EXPECT_NE(ignored.out, run("--seed 9 --frames 50").out) << "the store is read without the option";
}

// Out-of-range counts are limited for the run, but nothing is written to
// the store: only the configuration sheet's OK makes it persistent.
TEST_F(Simulate, LimitsTheCountsWithoutWritingTheStore) {
  store("number of cyclones=11\nnumber of particles=49\n");
  const std::string before = storedText();
  const Json f = field("--seed 1 --frames 1");
  EXPECT_EQ(integerOf(f["no_cyclones"]), 10);
  EXPECT_EQ(integerOf(f["no_particles"]), 500);
  EXPECT_EQ(storedText(), before);
}

struct LibraryCase {
  const char* name;
  const char* keys;
  unsigned seed;
  int frames;
  Settings settings;
};

class SimulateMatchesLibrary : public Simulate, public ::testing::WithParamInterface<LibraryCase> {};

void expectVector(const Json& json, const Vector3F& v, const std::string& what) {
  ASSERT_EQ(json.items.size(), 3u) << what;
  EXPECT_EQ(bitsOf(json[0]), std::bit_cast<uint32_t>(v.x)) << what << ".x " << json[0].number;
  EXPECT_EQ(bitsOf(json[1]), std::bit_cast<uint32_t>(v.y)) << what << ".y " << json[1].number;
  EXPECT_EQ(bitsOf(json[2]), std::bit_cast<uint32_t>(v.z)) << what << ".z " << json[2].number;
}

void expectColor(const Json& json, const ColorRGBA& c, const std::string& what) {
  ASSERT_EQ(json.items.size(), 4u) << what;
  const float parts[4] = {c.r, c.g, c.b, c.a};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(bitsOf(json[i]), std::bit_cast<uint32_t>(parts[i]))
        << what << "[" << i << "] " << json[i].number;
  }
}

void expectFloat(const Json& json, float value, const std::string& what) {
  EXPECT_EQ(bitsOf(json), std::bit_cast<uint32_t>(value)) << what << " " << json.number;
}

// Every number of the printed field against a field held here, bit for
// bit.
void expectSameField(const Json& f, const Field& lib) {
  EXPECT_EQ(integerOf(f["tick"]), lib.tick);
  expectFloat(f["dir"], lib.dir, "dir");
  expectFloat(f["rad"], lib.rad, "rad");
  ASSERT_EQ(integerOf(f["no_cyclones"]), lib.no_cyclones);
  ASSERT_EQ(integerOf(f["no_particles"]), lib.no_particles);
  for (int k = 0; k < lib.no_cyclones; ++k) {
    const Json& j = f["cyclones"][k];
    const CycloneStatus& s = lib.statusCount[k];
    EXPECT_EQ(integerOf(j["moveTimer"]), s.moveTimer);
    EXPECT_EQ(integerOf(j["effectTimer"]), s.effectTimer);
    EXPECT_EQ(integerOf(j["depthTimer"]), s.depthTimer);
    EXPECT_EQ(integerOf(j["pulseRate"]), s.pulseRate);
    expectFloat(j["hue"], s.hue, "hue");
    expectFloat(j["saturation"], s.saturation, "saturation");
  }
  for (int p = 0; p < lib.no_particles; ++p) {
    const Json& j = f["particles"][p];
    const std::string at = "particle " + std::to_string(p) + " ";
    expectVector(j["loc"], lib.loc[p], at + "loc");
    expectVector(j["prevLoc"], lib.prevLoc[p], at + "prevLoc");
    expectVector(j["ve"], lib.ve[p], at + "ve");
    expectVector(j["eye"], lib.eye[p], at + "eye");
    expectFloat(j["vel"], lib.vel[p], at + "vel");
    expectFloat(j["sine"], lib.sine[p], at + "sine");
    expectFloat(j["cosine"], lib.cosine[p], at + "cosine");
    expectFloat(j["yrp"], lib.tick == 0 ? 0.0f : lib.yrp[p], at + "yrp");
    expectColor(j["color"], lib.color[p], at + "color");
    ASSERT_EQ(j.has("afterimages"), lib.show_ai == 1);
    for (int m = 0; m < 4 && lib.show_ai == 1; ++m) {
      const Json& a = j["afterimages"][m];
      const std::size_t i = 4 * static_cast<std::size_t>(p) + m;
      expectVector(a["loc"], lib.ai_loc[i], at + "afterimage loc");
      EXPECT_EQ(integerOf(a["count"]), lib.ai_cnt[i]) << at;
      expectColor(a["color"], lib.ai_color[i], at + "afterimage color");
    }
    if (::testing::Test::HasFailure()) {
      return;
    }
  }
}

// The program's field and one run here through the library from the same
// seed and settings agree in every bit. The library's field is seeded twice,
// as a view seeds it when it is sized and when it starts.
TEST_P(SimulateMatchesLibrary, EveryNumberReadsBackBitForBit) {
  const LibraryCase& c = GetParam();
  store(c.keys);
  const Json f = field("--seed " + std::to_string(c.seed) + " --frames " + std::to_string(c.frames));

  Field lib;
  srandom(c.seed);
  for (int seeding = 0; seeding < 2; ++seeding) {
    lib.model_init([&](Settings& s) { s = c.settings; });
  }
  for (int frame = 0; frame < c.frames; ++frame) {
    lib.step();
    ++lib.tick;
  }
  expectSameField(f, lib);
}

// What a headless view holds after N frames, seeded and started as render
// and the window modes do, is what simulate prints for the same seed and N.
TEST_P(SimulateMatchesLibrary, AgreesWithAHeadlessViewAfterItsFrames) {
  const LibraryCase& c = GetParam();
  store(c.keys);
  const Json f = field("--seed " + std::to_string(c.seed) + " --frames " + std::to_string(c.frames));

  std::vector<std::unique_ptr<FrameSurface>> surfaces;
  surfaces.push_back(std::make_unique<TestSurface>(Size{48, 32}));
  ViewOptions options;
  options.seed = c.seed;
  BringUpFailure failure;
  const auto views = bringUpViews(std::move(surfaces), options, {}, failure);
  ASSERT_EQ(views.size(), 1u) << failure.message;
  Swirlmote& view = views.front()->view();
  for (int frame = 0; frame < c.frames; ++frame) {
    view.animateOneFrame();
  }
  expectSameField(f, view.field());
}

Settings settingsOf(int cyclones, int perCyclone, int mode, ColorRGBA colour, bool afterimages) {
  Settings s;
  s.isRotationOn = 1;
  s.no_cyclones = cyclones;
  s.no_particles = cyclones * perCyclone;
  s.color_mode_particle = mode;
  s.color_particle = colour;
  s.color_background = ColorRGBA{0, 0, 0, 0};
  s.particle_scale = 0.5f;
  s.show_ai = afterimages ? 1 : 0;
  return s;
}

INSTANTIATE_TEST_SUITE_P(
    Stores, SimulateMatchesLibrary,
    ::testing::Values(
        LibraryCase{"hues_and_afterimages",
                    "number of cyclones=3\nnumber of particles=60\nshow afterimage=true\n", 11, 600,
                    settingsOf(3, 60, 0, {0, 0, 0, 0}, true)},
        LibraryCase{"chosen_colour_unseeded_facing",
                    "number of cyclones=1\nnumber of particles=50\nparticle color mode=1\n"
                    "particle color red=0.25\nparticle color green=0.5\nparticle color blue=0.75\n"
                    "particle color alpha=1\n",
                    4294967295u, 0, settingsOf(1, 50, 1, {0.25f, 0.5f, 0.75f, 1.0f}, false)},
        LibraryCase{"empty_store", "", 0, 45, settingsOf(1, 50, 0, {0, 0, 0, 0}, false)},
        LibraryCase{"most_cyclones", "number of cyclones=10\nnumber of particles=50\nshow afterimage=true\n",
                    2026, 250, settingsOf(10, 50, 0, {0, 0, 0, 0}, true)}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadOption {
  const char* name;
  const char* args;
  const char* message;
};

class SimulateRefuses : public Simulate, public ::testing::WithParamInterface<BadOption> {};

TEST_P(SimulateRefuses, ExitsWithTwoAndSaysWhy) {
  const BadOption& c = GetParam();
  const ProgramResult r = run(c.args);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
}

INSTANTIATE_TEST_SUITE_P(Options, SimulateRefuses,
                         ::testing::Values(BadOption{"negative_frames", "--frames -1", "--frames"},
                                           BadOption{"fractional_frames", "--frames 1.5", "--frames"},
                                           BadOption{"unknown_option", "--speed 3", "unknown option"},
                                           BadOption{"missing_seed", "--seed", "--seed"},
                                           BadOption{"seed_out_of_range", "--seed 4294967296", "--seed"},
                                           BadOption{"size", "--size 64x64", "--size is for drawing"},
                                           BadOption{"renderer", "--renderer batched",
                                                     "--renderer is for drawing"},
                                           BadOption{"bad_setting", "--cyclones 11", "--cyclones"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
