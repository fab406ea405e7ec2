#include "host/option_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(OptionTable, NamesEachOptionOnce) {
  std::set<std::string_view> words;
  for (const CommandOption& option : kCommandOptions) {
    EXPECT_TRUE(words.insert(option.name).second) << option.name;
    if (!option.alias.empty()) {
      EXPECT_TRUE(words.insert(option.alias).second) << option.alias;
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

}  // namespace
