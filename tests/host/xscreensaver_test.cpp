// The installed program as XScreenSaver's saver: the real daemon on Xvfb
// starts it into its window with every control of the settings description
// away from its default and -fps added, as a user's programs line may have
// it; the screen shows particles, and unblanking ends it without complaint
// in the daemon's log. The source tree's
// resources are hidden from both, as on a machine with only the
// installation: this build installed, or the package's (see
// installation.h).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "host/host_user.h"
#include "host/installation.h"
#include "host/x_session.h"

namespace {

using namespace std::chrono_literals;

// The colours the programs line gives each text control, by its id: names
// from X's colour database, as users type them in the settings dialog.
const std::map<std::string, std::string> kColourNames{{"particlecolor", "orange"},
                                                      {"backgroundcolor", "MidnightBlue"}};
constexpr PixelColor kMidnightBlue{25 / 255.0, 25 / 255.0, 112 / 255.0, 1};

// An element's attributes by name.
std::map<std::string, std::string> attributesOf(const std::string& element) {
  static const std::regex pair(R"re(([\w-]+)="([^"]*)")re");
  std::map<std::string, std::string> attributes;
  for (std::sregex_iterator i(element.begin(), element.end(), pair), end; i != end; ++i) {
    attributes[(*i)[1]] = (*i)[2];
  }
  return attributes;
}

// A number control's value a quarter of the way up its range, or three
// quarters when its default lies there; whole when both ends are.
std::string numberAwayFromDefault(const std::map<std::string, std::string>& number) {
  const double low = std::stod(number.at("low"));
  const double high = std::stod(number.at("high"));
  const bool whole = low == std::floor(low) && high == std::floor(high);
  double value = low + (high - low) / 4;
  if (whole) value = std::round(value);
  if (value == std::stod(number.at("default"))) {
    value = whole ? std::round(low + (high - low) * 3 / 4) : low + (high - low) * 3 / 4;
  }
  std::ostringstream text;
  text << value;
  return text.str();
}

// The saver's part of a programs line, derived from its settings
// description: the command's argument, then every control away from its
// default (a number inside its range, a boolean switched, a select's last
// option, a text control's colour name).
std::string everyControlAway(const std::string& description) {
  static const std::regex control(
      R"(<(command|number|boolean|string)\b[^>]*>|<select\b[^>]*>([\s\S]*?)</select>)");
  static const std::regex option(R"(<option\b[^>]*>)");
  std::string line;
  for (std::sregex_iterator i(description.begin(), description.end(), control), end; i != end; ++i) {
    const std::string element = (*i)[0];
    const auto attributes = attributesOf(element);
    const std::string kind = (*i)[1].matched ? std::string((*i)[1]) : "select";
    std::string words;
    if (kind == "command") {
      words = attributes.at("arg");
    } else if (kind == "number") {
      words = std::regex_replace(attributes.at("arg"), std::regex("%"), numberAwayFromDefault(attributes));
    } else if (kind == "boolean") {
      words = attributes.contains("arg-set") ? attributes.at("arg-set") : attributes.at("arg-unset");
    } else if (kind == "string") {
      const auto name = kColourNames.find(attributes.at("id"));
      if (name == kColourNames.end()) {
        ADD_FAILURE() << "no value for the text control " << attributes.at("id");
        continue;
      }
      words = std::regex_replace(attributes.at("arg"), std::regex("%"), name->second);
    } else {
      const std::string options = (*i)[2];
      for (std::sregex_iterator o(options.begin(), options.end(), option); o != end; ++o) {
        const auto optionAttributes = attributesOf((*o)[0]);
        if (optionAttributes.contains("arg-set")) words = optionAttributes.at("arg-set");
      }
    }
    line += " " + words;
  }
  return line;
}

// The user's own settings: blank at once on -activate, no lock, no fading,
// one saver until told otherwise.
void writeDaemonSettings(const std::string& path, const std::string& programsLine) {
  std::ofstream(path) << "timeout: 0:30:00\ncycle: 0:10:00\nlock: False\nsplash: False\nfade: False\n"
                         "unfade: False\ndpmsEnabled: False\nmode: one\nselected: 0\nprograms: \\\n"
                         "  GL: "
                      << programsLine << " \\n\\\n\n";
}

// The screen's share of background pixels, and its pixels of orange
// particles over that background.
struct ScreenColours {
  double backgroundShare = 0;
  int orange = 0;
};

ScreenColours coloursOf(const Image& image, const PixelColor& background) {
  ScreenColours result;
  long plain = 0;
  for (int y = 0; y < image.pixelsHigh(); ++y) {
    for (int x = 0; x < image.pixelsWide(); ++x) {
      const PixelColor c = image.colorAtX(x, y);
      plain += std::abs(channel(c.red) - channel(background.red)) <= 2 &&
               std::abs(channel(c.green) - channel(background.green)) <= 2 &&
               std::abs(channel(c.blue) - channel(background.blue)) <= 2;
      result.orange += c.red > 0.6 && c.red - c.blue > 0.3;
    }
  }
  result.backgroundShare =
      static_cast<double>(plain) / (static_cast<double>(image.pixelsWide()) * image.pixelsHigh());
  return result;
}

// The lines of the daemon's log that tell of trouble with our program: its
// own messages, a crash or an odd end, or an X error.
std::vector<std::string> troubleIn(const std::string& log) {
  const auto has = [](const std::string& line, std::initializer_list<const char*> words) {
    return std::any_of(words.begin(), words.end(),
                       [&](const char* word) { return line.find(word) != line.npos; });
  };
  std::vector<std::string> trouble;
  std::istringstream lines(log);
  std::string line;
  while (std::getline(lines, line)) {
    const bool ownMessage = line.rfind("swirlmote", 0) == 0;
    const bool badEnd = has(line, {"/swirlmote"}) && has(line, {"crashed", "abnormally", "core dumped"});
    if (ownMessage || badEnd || has(line, {"X Error", "BadDrawable", "BadWindow"})) {
      trouble.push_back(line);
    }
  }
  return trouble;
}

TEST(XScreenSaver, RunsTheInstalledProgramInItsWindow) {
  const auto user = hostUser();
  REQUIRE_OR_SKIP(haveProgram("xscreensaver") && haveProgram("xscreensaver-command"),
                  "XScreenSaver's daemon (tools/install-packages.sh test)");
  REQUIRE_OR_SKIP(user, "runuser and the user nobody, to run the daemon when root");
  ScratchDir scratch;
  // Everything the daemon's user reads lies under the scratch directory,
  // whoever owns the build.
  chmod(scratch.path().c_str(), 0755);
  const Installation installation = installForTest(scratch / "prefix");
  ASSERT_FALSE(installation.prefix.empty()) << installation.failure;
  const std::string program = installation.prefix + "/libexec/xscreensaver/swirlmote";
  ASSERT_TRUE(std::filesystem::exists(program));

  const std::string home = scratch / "home";
  std::filesystem::create_directory(home);
  // The settings description the dialog reads, as installed, and -fps as
  // a user adds it.
  const std::string programsLine =
      program + everyControlAway(readFile(installation.prefix + "/share/xscreensaver/config/swirlmote.xml")) +
      " -fps";
  writeDaemonSettings(home + "/.xscreensaver", programsLine);
  const std::string log = home + "/daemon.log";
  ASSERT_EQ(chown(home.c_str(), user->uid, user->gid), 0);
  ASSERT_EQ(chown((home + "/.xscreensaver").c_str(), user->uid, user->gid), 0);

  auto server =
      XServer::start({"Xvfb", "-screen", "0", "1024x768x24", "-ac", "+extension", "GLX", "-nolisten", "tcp"});
  REQUIRE_OR_SKIP(server, "Xvfb");
  const std::vector<std::string> asUser = asHostUser(*user, {"HOME=" + home, "DISPLAY=" + server->display()});
  const auto command = [&](const std::string& what) {
    std::string line;
    for (const std::string& word : asUser) line += "'" + word + "' ";
    return shellOutput(line + "xscreensaver-command " + what + " >/dev/null 2>&1; echo $?") == "0";
  };
  std::vector<std::string> daemonArgs = asUser;
  for (const char* word : {"xscreensaver", "--no-splash", "--log"}) daemonArgs.push_back(word);
  daemonArgs.push_back(log);
  // The daemon and the saver it starts see none of the source tree's
  // resources, so that a broken installation shows.
  const std::string empty = scratch / "empty";
  std::filesystem::create_directory(empty);
  REQUIRE_OR_SKIP(canHideSourceResources(empty), "unshare and mount permissions (root), to hide the sources");
  Process daemon(withSourceResourcesHidden(daemonArgs, empty), {}, scratch / "daemon.err");
  // Every wait below is for a condition, with a deadline far beyond what an
  // idle machine needs: a full parallel test run may slow each step tenfold.
  ASSERT_TRUE(waitFor([&] { return command("-version"); }, 60s))
      << "the XScreenSaver daemon did not come up: " << daemon.errors() << readFile(log);

  const std::string running = "pgrep -f '^" + program + " --root' | head -1";
  ASSERT_TRUE(waitFor([&] { return command("-activate"); }, 30s)) << readFile(log);
  ASSERT_TRUE(waitFor([&] { return !shellOutput(running).empty(); }, 60s)) << readFile(log);
  // The screen as the server shows it, once particles are up: orange over
  // midnight blue.
  ScreenColours seen;
  waitFor(
      [&] {
        const auto screen = shownPicture(*server, "-root", scratch / "root.png");
        seen = screen ? coloursOf(*screen, kMidnightBlue) : ScreenColours{};
        return seen.orange > 300;
      },
      60s);
  EXPECT_GT(seen.backgroundShare, 0.5) << "the background is not midnight blue";
  EXPECT_GT(seen.orange, 300) << "too few orange particles";

  ASSERT_TRUE(waitFor([&] { return command("-deactivate"); }, 30s)) << readFile(log);
  EXPECT_TRUE(waitFor([&] { return shellOutput(running).empty(); }, 30s)) << "still running after unblanking";
  waitFor([&] { return command("-exit"); }, 30s);
  daemon.wait(30s);
  const std::string written = readFile(log);
  EXPECT_NE(written.find("forked \"" + programsLine), std::string::npos) << written;
  EXPECT_EQ(troubleIn(written), std::vector<std::string>{}) << written;
}

}  // namespace
