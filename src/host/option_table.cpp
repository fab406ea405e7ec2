#include "host/option_table.h"

#include <cstdio>

#include "settings/color_text.h"

namespace {

constexpr std::string_view kSynopsis =
    "Usage: swirlmote [MODE] [OPTIONS] [SETTINGS]\n"
    "       swirlmote simulate [--seed S] [--frames N] [SETTINGS]\n"
    "       swirlmote render --frames N --size WxH --out DIR [--every K] [--seed S] [--renderer R]\n"
    "                        [--screenshot F] [--fps] [SETTINGS]\n"
    "       swirlmote config list | get KEY | set KEY VALUE | unset KEY | path\n"
    "       swirlmote idle [--after SECONDS] [--enable | --disable]\n"
    "\n"
    "A field of glowing particles swirling round drifting cyclones.\n"
    "\n"
    "Commands:\n"
    "  simulate        run the field without drawing and print it as JSON\n"
    "  render          draw frames headless (no display needed) into PNG files\n"
    "  config          read and change the stored settings\n"
    "  idle            show the saver full screen whenever the session has been idle\n"
    "                  (swirlmote idle --help tells more)\n";

struct SectionHeading {
  OptionSection section;
  std::string_view heading;
};

constexpr SectionHeading kSections[] = {
    {OptionSection::Mode,
     "Modes (without one: a window; Esc or q quits, f toggles full screen, o shows the settings):"},
    {OptionSection::General, "Options:"},
    {OptionSection::Render, "Render's output:"},
    {OptionSection::Setting,
     "Settings for this run only, over the stored ones (in every mode, render and simulate):"},
    {OptionSection::Hack,
     "Options of XScreenSaver's hacks, with one dash or two (in every mode and render):"},
};

// The column where the options' descriptions start, and the width they
// wrap at.
constexpr std::size_t kHelpColumn = 22;
constexpr std::size_t kHelpWidth = 100;

// What an option's description says, its range or the shapes included.
std::string description(const CommandOption& option) {
  std::string text(option.help);
  if (option.value == OptionValue::Shape) {
    text += " " + shapeList();
  } else if (option.range) {
    text += ", " + rangeText(option);
  }
  return text;
}

// Appends the text's words to a line that has reached the column, wrapped
// at kHelpWidth onto lines that start at the column.
void appendWrapped(std::string& line, std::string_view text, std::size_t column) {
  std::size_t width = column;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find(' ', start);
    if (end == std::string_view::npos) end = text.size();
    const std::size_t length = end - start;
    if (width > column && width + 1 + length > kHelpWidth) {
      line += "\n";
      line.append(column, ' ');
      width = column;
    } else if (width > column) {
      line += ' ';
      ++width;
    }
    line.append(text, start, length);
    width += length;
    start = end + 1;
  }
}

// "  --name VALUE        description", the description's words wrapped
// under its column; a name too long for the column has a line of its own.
std::string helpLine(const CommandOption& option) {
  std::string line = "  " + std::string(option.name);
  if (!option.valueName.empty()) {
    line += " " + std::string(option.valueName);
  }
  if (line.size() + 1 >= kHelpColumn) {
    line += "\n";
    line.append(kHelpColumn, ' ');
  } else {
    line.resize(kHelpColumn, ' ');
  }
  appendWrapped(line, description(option), kHelpColumn);
  return line + "\n";
}

}  // namespace

std::string shapeList() {
  std::string list;
  for (const std::string_view name : kShapeNames) {
    list += (list.empty() ? "" : " ") + std::string(name);
  }
  return list;
}

std::string rangeText(const CommandOption& option) {
  if (!option.range) {
    return "";
  }
  // Whole numbers as such, numbers with their one decimal ("0.5 to 2.0").
  const char* format = option.value == OptionValue::Integer ? "%.0f to %.0f" : "%.1f to %.1f";
  char text[64];
  std::snprintf(text, sizeof text, format, option.range->low, option.range->high);
  return text;
}

const CommandOption* findOption(std::string_view word) {
  for (const CommandOption& option : kCommandOptions) {
    if (word == option.name || (!option.alias.empty() && word == option.alias)) {
      return &option;
    }
  }
  return nullptr;
}

std::string usageText() {
  std::string text(kSynopsis);
  for (const SectionHeading& section : kSections) {
    text += "\n" + std::string(section.heading) + "\n";
    for (const CommandOption& option : kCommandOptions) {
      if (option.section == section.section) {
        text += helpLine(option);
      }
    }
  }
  text += "\n";
  appendWrapped(text, "COLOR is " + std::string(kColorForms) + ".", 0);
  return text + "\n";
}
