// What `cmake --install` puts where, and XScreenSaver's description of our
// settings: every command line its dialog can make is one the saver takes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "host/installation.h"
#include "host/option_table.h"
#include "host/run_options.h"
#include "host/x_session.h"

namespace {

namespace fs = std::filesystem;

TEST(Install, PutsEverythingWhereItsUsersLook) {
  ScratchDir scratch;
  const std::string destination = scratch / "root";
  const std::string out =
      shellOutput("DESTDIR='" + destination +
                  "' cmake --install '" SWIRLMOTE_BUILD_DIR "' --prefix /usr/local 2>&1; echo status $?");
  ASSERT_TRUE(out.ends_with("status 0")) << out;
  const fs::path prefix = destination + "/usr/local";

  const fs::path program = prefix / "bin/swirlmote";
  EXPECT_TRUE(fs::is_regular_file(program));
  EXPECT_NE(fs::status(program).permissions() & fs::perms::others_exec, fs::perms::none);
  const fs::path link = prefix / "libexec/xscreensaver/swirlmote";
  ASSERT_TRUE(fs::is_symlink(link));
  EXPECT_TRUE(fs::read_symlink(link).is_relative()) << fs::read_symlink(link);
  EXPECT_TRUE(fs::equivalent(link, program));
  for (const char* file :
       {"share/swirlmote/Swirlmote.ui", "share/swirlmote/circle.png", "share/swirlmote/gn.png",
        "share/xscreensaver/config/swirlmote.xml", "share/applications/swirlmote.desktop",
        "share/applications/screensavers/swirlmote.desktop", "share/man/man6/swirlmote.6.gz",
        "share/icons/hicolor/16x16/apps/swirlmote.png", "share/icons/hicolor/256x256/apps/swirlmote.png",
        "share/icons/hicolor/scalable/apps/swirlmote.svg",
        "share/metainfo/org.swirlmote.Swirlmote.metainfo.xml", "share/doc/swirlmote/copyright"}) {
    EXPECT_TRUE(fs::is_regular_file(prefix / file)) << file;
  }
  std::size_t sprites = 0;
  for (const auto& entry : fs::directory_iterator(prefix / "share/swirlmote")) {
    sprites += entry.path().extension() == ".png";
  }
  EXPECT_EQ(sprites, 10u);
}

// The installed program, and the link XScreenSaver runs, find their sprites
// in the prefix they were installed into, with the source tree's resources
// out of sight: a frame of particles and not one warning. The prefix is this
// build installed, or the package's /usr (SWIRLMOTE_INSTALLED_PREFIX).
TEST(Install, TheInstalledProgramNeedsNothingFromTheSourceTree) {
  ScratchDir scratch;
  const std::string empty = scratch / "empty";
  fs::create_directory(empty);
  REQUIRE_OR_SKIP(canHideSourceResources(empty), "unshare and mount permissions (root), to hide the sources");
  const Installation installation = installForTest(scratch / "prefix");
  ASSERT_FALSE(installation.prefix.empty()) << installation.failure;
  const std::string& prefix = installation.prefix;

  for (const std::string& program : {prefix + "/bin/swirlmote", prefix + "/libexec/xscreensaver/swirlmote"}) {
    SCOPED_TRACE(program);
    const std::string frames = scratch / "frames";
    fs::remove_all(frames);
    Process run(withSourceResourcesHidden({program, "render", "--frames", "40", "--size", "160x120", "--seed",
                                           "5", "--out", frames},
                                          empty),
                {"SWIRLMOTE_RESOURCES=", "XDG_CONFIG_HOME=" + scratch / "config"}, scratch / "err");
    ASSERT_EQ(run.wait(std::chrono::seconds(60)), 0) << run.errors();
    const std::string errors = run.errors();
    EXPECT_EQ(errors.find("sprite"), std::string::npos) << errors;
    EXPECT_EQ(errors.find("Swirlmote.ui"), std::string::npos) << errors;
    const auto frame = PngImage::load(frames + "/frame-000040.png");
    ASSERT_TRUE(frame);
    EXPECT_GT(brightPixels(*frame, 0, 0, 160, 120), 20) << "no particles";
  }
}

// The saver's options for the description's command and one command-line
// argument of it, or nothing (with the message) when it refuses them.
std::optional<RunOptions> parseArgument(const std::string& command, const std::string& argument) {
  std::vector<std::string> words;
  std::istringstream in(command + " " + argument);
  for (std::string word; in >> word;) words.push_back(word);
  const std::vector<std::string_view> views(words.begin(), words.end());
  return parseRunOptions(kSaver, views, nullptr);
}

TEST(Install, TheSettingsDialogsCommandLinesAreTaken) {
  const std::string xml = readFile(SWIRLMOTE_SOURCE_DIR "/data/swirlmote.xml");
  ASSERT_NE(xml.find("<screensaver name=\"swirlmote\""), std::string::npos);
  ASSERT_NE(xml.find("<command arg=\"--root\"/>"), std::string::npos);
  std::string command;
  const std::regex commandArg(R"re(<command arg="([^"]*)")re");
  for (std::sregex_iterator it(xml.begin(), xml.end(), commandArg), end; it != end; ++it) {
    command += " " + (*it)[1].str();
  }

  std::vector<std::string> arguments;
  // Numbers: at both ends of their range and at the default.
  const std::regex number(
      R"re(<number[^>]*arg="([^"]*)"[^>]*low="([^"]*)"[^>]*high="([^"]*)"[^>]*default="([^"]*)")re");
  for (std::sregex_iterator it(xml.begin(), xml.end(), number), end; it != end; ++it) {
    for (int value = 2; value <= 4; ++value) {
      arguments.push_back(std::regex_replace((*it)[1].str(), std::regex("%"), (*it)[value].str()));
    }
  }
  // Options and booleans: as they stand.
  const std::regex fixed(R"re(arg-(?:set|unset)="([^"]*)")re");
  for (std::sregex_iterator it(xml.begin(), xml.end(), fixed), end; it != end; ++it) {
    arguments.push_back((*it)[1].str());
  }
  // Strings: the word that the option's value offers ("auto|RRGGBB"), and
  // a colour.
  const std::regex text(R"re(<string[^>]*arg="(\S+) %")re");
  std::size_t strings = 0;
  for (std::sregex_iterator it(xml.begin(), xml.end(), text), end; it != end; ++it, ++strings) {
    const std::string name = (*it)[1].str();
    const CommandOption* option = findOption(name);
    ASSERT_TRUE(option) << name;
    const std::string_view word = option->valueName.substr(0, option->valueName.find('|'));
    arguments.push_back(name + " " + std::string(word));
    arguments.push_back(name + " ff8000");
  }
  EXPECT_EQ(strings, 2u) << "the two colours";
  EXPECT_GE(arguments.size(), 9u + 9 + 2 + 4);

  for (const std::string& argument : arguments) {
    testing::internal::CaptureStderr();
    const auto options = parseArgument(command, argument);
    const std::string refusal = testing::internal::GetCapturedStderr();
    // Run by a host, the saver only warns: what it would refuse elsewhere
    // shows as a warning.
    ASSERT_TRUE(options) << argument;
    EXPECT_EQ(refusal, "") << argument;
    EXPECT_EQ(options->mode, SaverMode::ForeignWindow) << argument;
  }
}

// The dialog offers every setting of the option table as the table has it:
// a switch as itself (or its opposite, the other's default), a number over
// the option's range, a shape as each of the saver's shapes in their order,
// the default one without a switch, a text as an entry.
TEST(Install, TheSettingsDialogsRangesAndShapesAreTheSavers) {
  const std::string xml = readFile(SWIRLMOTE_SOURCE_DIR "/data/swirlmote.xml");
  for (const CommandOption& option : kCommandOptions) {
    if (option.section != OptionSection::Setting) continue;
    const std::string name(option.name);
    SCOPED_TRACE(name);
    EXPECT_NE(option.takers & kSaver, 0u);
    std::smatch match;
    switch (option.value) {
      case OptionValue::None: {
        const std::string opposite =
            name.starts_with("--no-") ? "--" + name.substr(5) : "--no-" + name.substr(2);
        EXPECT_TRUE(xml.find("arg-set=\"" + name + "\"") != std::string::npos ||
                    xml.find("arg-set=\"" + opposite + "\"") != std::string::npos);
        break;
      }
      case OptionValue::Integer:
      case OptionValue::Number: {
        const std::regex number("<number[^>]*arg=\"" + name +
                                R"re( %"[^>]*low="([^"]*)"[^>]*high="([^"]*)")re");
        ASSERT_TRUE(std::regex_search(xml, match, number));
        ASSERT_TRUE(option.range);
        EXPECT_EQ(std::stod(match[1].str()), option.range->low);
        EXPECT_EQ(std::stod(match[2].str()), option.range->high);
        break;
      }
      case OptionValue::Shape: {
        ASSERT_TRUE(
            std::regex_search(xml, match, std::regex(R"re(<select id="shape">([\s\S]*?)</select>)re")));
        const std::string select = match[1];
        std::vector<std::string> shapes;
        const std::regex shape(R"re(<option id="([^"]*)"[^>]*?(?:arg-set="([^"]*)")?/>)re");
        for (std::sregex_iterator it(select.begin(), select.end(), shape), end; it != end; ++it) {
          shapes.push_back((*it)[1].str());
          const std::string set = (*it)[2].str();
          EXPECT_EQ(set, shapes.size() == 1 ? "" : name + " " + shapes.back());
        }
        EXPECT_EQ(shapes, std::vector<std::string>(kShapeNames.begin(), kShapeNames.end()));
        break;
      }
      case OptionValue::Text:
        EXPECT_TRUE(std::regex_search(xml, std::regex("<string[^>]*arg=\"" + name + " %\"")));
        break;
    }
  }
}

}  // namespace
