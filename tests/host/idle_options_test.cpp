#include "host/idle_options.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/idle_autostart.h"
#include "host/x_session.h"
#include "support/config_home.h"

namespace {

using Autostart = IdleOptions::Autostart;

struct ParseCase {
  const char* name;
  std::vector<std::string_view> args;
  bool accepted;
  std::optional<int> after;
  Autostart autostart;
};

class IdleOptionParsing : public testing::TestWithParam<ParseCase> {};

TEST_P(IdleOptionParsing, AcceptsOnlyWhatMakesSense) {
  const ParseCase& c = GetParam();
  testing::internal::CaptureStderr();
  const auto options = parseIdleOptions(c.args);
  const std::string errors = testing::internal::GetCapturedStderr();
  ASSERT_EQ(options.has_value(), c.accepted) << errors;
  EXPECT_EQ(errors.empty(), c.accepted) << errors;
  if (options) {
    EXPECT_EQ(options->afterSeconds, c.after);
    EXPECT_EQ(options->autostart, c.autostart);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, IdleOptionParsing,
    testing::Values(
        ParseCase{"Nothing", {}, true, std::nullopt, Autostart::Keep},
        ParseCase{"After", {"--after", "90"}, true, 90, Autostart::Keep},
        ParseCase{"AfterLowest", {"--after", "1"}, true, 1, Autostart::Keep},
        ParseCase{"AfterHighest", {"--after", "86400"}, true, 86400, Autostart::Keep},
        ParseCase{"AfterZero", {"--after", "0"}, false, std::nullopt, Autostart::Keep},
        ParseCase{"AfterADayAndASecond", {"--after", "86401"}, false, std::nullopt, Autostart::Keep},
        ParseCase{"AfterNotANumber", {"--after", "5m"}, false, std::nullopt, Autostart::Keep},
        ParseCase{"AfterMissingValue", {"--after"}, false, std::nullopt, Autostart::Keep},
        ParseCase{"Enable", {"--enable"}, true, std::nullopt, Autostart::Enable},
        ParseCase{"EnableWithAfter", {"--enable", "--after", "60"}, true, 60, Autostart::Enable},
        ParseCase{"Disable", {"--disable"}, true, std::nullopt, Autostart::Disable},
        ParseCase{"EnableAndDisable", {"--enable", "--disable"}, false, std::nullopt, Autostart::Keep},
        ParseCase{"DisableWithAfter", {"--disable", "--after", "60"}, false, std::nullopt, Autostart::Keep},
        ParseCase{"Unknown", {"--fullscreen"}, false, std::nullopt, Autostart::Keep}),
    [](const testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

struct DelayCase {
  const char* name;
  std::optional<int> after;
  std::optional<unsigned> blanking;
  int seconds;
  bool warns;
};

class IdleDelay : public testing::TestWithParam<DelayCase> {};

TEST_P(IdleDelay, StaysShorterThanTheDesktopsBlanking) {
  const DelayCase& c = GetParam();
  std::string warning;
  EXPECT_EQ(idleDelaySeconds(c.after, c.blanking, warning), c.seconds);
  EXPECT_EQ(!warning.empty(), c.warns) << warning;
}

INSTANTIATE_TEST_SUITE_P(Table, IdleDelay,
                         testing::Values(DelayCase{"NotGnome", std::nullopt, std::nullopt, 240, false},
                                         DelayCase{"GnomeNeverBlanks", std::nullopt, 0u, 240, false},
                                         DelayCase{"GnomeDefault", std::nullopt, 300u, 240, false},
                                         DelayCase{"GnomeOneMinute", std::nullopt, 60u, 48, false},
                                         DelayCase{"GnomeOneSecond", std::nullopt, 1u, 1, false},
                                         DelayCase{"AfterBeforeBlanking", 120, 300u, 120, false},
                                         DelayCase{"AfterAtBlanking", 300, 300u, 300, true},
                                         DelayCase{"AfterPastBlanking", 600, 300u, 600, true},
                                         DelayCase{"AfterWhereNeverBlanks", 600, 0u, 600, false}),
                         [](const testing::TestParamInfo<DelayCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(IdleAutostart, EnableWritesTheUsersEntryAndDisableRemovesIt) {
  TempConfigHome home;
  const auto path = idleAutostartPath();
  ASSERT_TRUE(path);
  EXPECT_EQ(*path, std::string(getenv("XDG_CONFIG_HOME")) + "/autostart/swirlmote-idle.desktop");
  std::string error;
  ASSERT_TRUE(enableIdleAutostart(90, error)) << error;
  const std::string entry = readFile(*path);
  EXPECT_NE(entry.find("\nExec=swirlmote idle --after 90\n"), std::string::npos) << entry;
  // The hidden system-wide entry is overridden for every desktop.
  EXPECT_NE(entry.find("\nHidden=false\n"), std::string::npos) << entry;
  EXPECT_NE(entry.find("\nX-GNOME-Autostart-enabled=true\n"), std::string::npos) << entry;
  if (haveProgram("desktop-file-validate")) {
    EXPECT_EQ(shellOutput("desktop-file-validate '" + *path + "' 2>&1"), "");
  }
  ASSERT_TRUE(enableIdleAutostart(std::nullopt, error)) << error;
  EXPECT_NE(readFile(*path).find("\nExec=swirlmote idle\n"), std::string::npos);

  ASSERT_TRUE(disableIdleAutostart(error)) << error;
  EXPECT_FALSE(std::filesystem::exists(*path));
  EXPECT_TRUE(disableIdleAutostart(error)) << "an absent entry is already off: " << error;
}

TEST(IdleAutostart, TheInstalledEntryIsHiddenUntilEnabled) {
  const std::string entry = readFile(SWIRLMOTE_SOURCE_DIR "/data/swirlmote-idle.desktop");
  EXPECT_NE(entry.find("\nHidden=true\n"), std::string::npos) << entry;
  EXPECT_NE(entry.find("\nExec=swirlmote idle\n"), std::string::npos) << entry;
}

}  // namespace
