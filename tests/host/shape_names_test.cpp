#include "settings/shape_names.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "support/files.h"

namespace {

// The label a person reads for each shape: its name capitalised.
std::vector<std::string> shapeLabels() {
  std::vector<std::string> labels;
  for (const std::string_view name : kShapeNames) {
    std::string label(name);
    label[0] = static_cast<char>(label[0] - 'a' + 'A');
    labels.push_back(label);
  }
  return labels;
}

std::vector<std::string> matches(const std::string& text, const std::regex& pattern) {
  std::vector<std::string> found;
  for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it) {
    found.push_back((*it)[1].str());
  }
  return found;
}

// The sheet's shape menu lists the shapes by their index, each by its name.
TEST(ShapeNames, TheSheetsItemsAreTheNames) {
  const std::string ui = readFile(SWIRLMOTE_SOURCE_DIR "/resources/Swirlmote.ui");
  const std::size_t combo = ui.find("id=\"PUB_shape\"");
  ASSERT_NE(combo, std::string::npos);
  const std::size_t end = ui.find("</items>", combo);
  ASSERT_NE(end, std::string::npos);
  const std::string items = ui.substr(combo, end - combo);
  EXPECT_EQ(matches(items, std::regex("<item>([^<]*)</item>")), shapeLabels());
}

// XScreenSaver's dialog offers the shapes in the same order, by the same
// names and labels, as the command line takes them; the first, the default,
// without a switch.
TEST(ShapeNames, TheSettingsDialogsOptionsAreTheNames) {
  const std::string xml = readFile(SWIRLMOTE_SOURCE_DIR "/data/swirlmote.xml");
  const std::regex option(R"re(<option id="([^"]*)" _label="([^"]*)"(?: arg-set="--shape ([^"]*)")?/>)re");
  std::vector<std::string> ids, labels, args;
  for (std::sregex_iterator it(xml.begin(), xml.end(), option), end; it != end; ++it) {
    ids.push_back((*it)[1].str());
    labels.push_back((*it)[2].str());
    args.push_back((*it)[3].str());
  }
  const std::vector<std::string> names(kShapeNames.begin(), kShapeNames.end());
  EXPECT_EQ(ids, names);
  std::vector<std::string> switched = names;
  switched.front() = "";
  EXPECT_EQ(args, switched);
  EXPECT_EQ(labels, shapeLabels());
}

}  // namespace
