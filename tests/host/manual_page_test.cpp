// The manual page documents every option of the command line, as the
// option table has it, and no option that the program does not take.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "host/option_table.h"
#include "support/files.h"

namespace {

// The options that a page names where it tags an entry: the line after each
// .TP or .TQ, read with its font escapes dropped and "\-" as a dash.
std::set<std::string> taggedOptions(const std::string& page) {
  const std::regex font(R"(\\f[BIRP])");
  const std::regex dash(R"(\\-)");
  const std::regex option(R"((?:^|[ "])(--?[a-z][a-z-]*))");
  std::set<std::string> names;
  std::istringstream lines(page);
  bool tag = false;
  for (std::string line; std::getline(lines, line);) {
    if (tag) {
      const std::string text = std::regex_replace(std::regex_replace(line, font, ""), dash, "-");
      for (std::sregex_iterator it(text.begin(), text.end(), option), end; it != end; ++it) {
        names.insert((*it)[1].str());
      }
    }
    tag = line.starts_with(".TP") || line.starts_with(".TQ");
  }
  return names;
}

TEST(ManualPage, TagsEveryOptionOfTheTableAndNoOther) {
  const std::set<std::string> tagged = taggedOptions(readFile(SWIRLMOTE_SOURCE_DIR "/data/swirlmote.6"));
  for (const CommandOption& option : kCommandOptions) {
    EXPECT_TRUE(tagged.contains(std::string(option.name))) << option.name << " is not in the manual page";
    if (!option.alias.empty()) {
      EXPECT_TRUE(tagged.contains(std::string(option.alias))) << option.alias << " is not in the manual page";
    }
  }
  for (const std::string& word : tagged) {
    EXPECT_NE(findOption(word), nullptr) << "the manual page documents " << word << ", which is no option";
  }
}

}  // namespace
