#include "host/arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/option_table.h"
#include "host/run_options.h"

namespace {

// A value as messages quote it: whole up to 80 bytes, otherwise cut at a
// character's start at or before the 80th byte and marked.
TEST(InQuotes, CutsLongValuesBetweenCharacters) {
  const std::string eighty(80, 'a');
  struct Case {
    std::string value;
    std::string quoted;
  };
  const Case cases[] = {
      {"", "''"},
      {"abc", "'abc'"},
      {eighty, "'" + eighty + "'"},
      {eighty + "b", "'" + eighty + "…'"},
      {eighty + "é", "'" + eighty + "…'"},
      {std::string(78, 'a') + "é", "'" + std::string(78, 'a') + "é'"},
      // A two-byte and a three-byte character over the 80th byte.
      {std::string(79, 'a') + "é", "'" + std::string(79, 'a') + "…'"},
      {std::string(78, 'a') + "€z", "'" + std::string(78, 'a') + "…'"},
      {std::string(77, 'a') + "€z", "'" + std::string(77, 'a') + "€…'"},
      {std::string(1 << 20, 'x'), "'" + std::string(80, 'x') + "…'"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(inQuotes(c.value), c.quoted) << c.value.size() << " bytes";
  }
}

// However long a value, the line that refuses it or warns about it is short.
TEST(InQuotes, MessagesQuoteAtMostTheStartOfAValue) {
  const std::string huge(1 << 20, '7');
  struct Case {
    unsigned command;
    std::vector<std::string_view> args;
  };
  const Case cases[] = {
      {kSimulate, {"--shape", huge}},
      {kSimulate, {"--cyclones", huge}},
      {kRender, {huge}},
      {kSaver, {"--root", "--particle-color", huge}},
      {kSaver, {"--window-id", huge}},
  };
  for (const Case& c : cases) {
    testing::internal::CaptureStderr();
    parseRunOptions(c.command, c.args);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_LT(message.size(), 400u) << message.substr(0, 400);
    EXPECT_NE(message.find(std::string(80, '7') + "…'"), std::string::npos) << message.substr(0, 400);
  }
}

}  // namespace
