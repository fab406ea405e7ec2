#include "host/option_parse.h"

#include <bit>

#include "host/option_table.h"
#include "host/option_values.h"
#include "settings/color_text.h"

namespace {

std::string_view commandName(unsigned command) {
  if (command == kRender) return "render";
  if (command == kSimulate) return "simulate";
  // The saver itself has no command name.
  return "";
}

// Whether a host runs the saver in its window: --root or --window-id
// anywhere on the command line, or XSCREENSAVER_WINDOW set while no other
// mode is asked for.
bool runByHost(std::span<const std::string_view> args, const char* environmentWindow) {
  bool foreign = false;
  bool otherMode = false;
  for (const std::string_view word : args) {
    const CommandOption* option = findOption(word);
    if (option == &kRootOption || option == &kWindowIdOption) {
      foreign = true;
    } else if (option && option->section == OptionSection::Mode) {
      otherMode = true;
    }
  }
  return foreign || (environmentWindow && *environmentWindow && !otherMode);
}

}  // namespace

OptionParse::OptionParse(unsigned command, std::span<const std::string_view> args,
                         const char* environmentWindow)
    : command_(command), reader_(commandName(command), args), environmentWindow_(environmentWindow) {
  if (command == kSaver && runByHost(args, environmentWindow)) {
    reader_.warnInstead();
  }
}

const CommandOption* OptionParse::taken(std::string_view word) const {
  const CommandOption* option = findOption(word);
  if (option && (option->takers & command_) != 0) {
    return option;
  }
  if (option && command_ == kSimulate && (option->takers & kRender) != 0) {
    reader_.refuse(std::string(word) + " is for drawing; simulate draws nothing");
  } else {
    reader_.refuse("unknown option " + inQuotes(word));
  }
  return nullptr;
}

bool OptionParse::read(const CommandOption& option, std::string_view word) {
  option_ = &option;
  word_ = word;
  return option.read(*this);
}

std::optional<RunOptions> OptionParse::finish() {
  if (command_ == kRender && (!run.frames || !run.size || run.out.empty())) {
    reader_.refuse("needs --frames N, --size WxH and --out DIR");
    return std::nullopt;
  }
  if (command_ == kSaver && !chooseMode()) {
    return std::nullopt;
  }
  return run;
}

bool OptionParse::skip() {
  return option_->value == OptionValue::None || reader_.value(word_);
}

bool OptionParse::number(std::optional<float>& field) {
  const KeyRange range = *option_->range;
  return text(
      field, [&range](std::string_view given) { return parseNumber(given, range); },
      "a number from " + rangeText(*option_));
}

bool OptionParse::color(std::optional<std::optional<ColorRGBA>>& field, std::string_view plain) {
  return text(
      field, [plain](std::string_view given) { return parseColorChoice(given, plain); },
      std::string(plain) + " or a colour: " + std::string(kColorForms));
}

bool OptionParse::name(std::string& field, std::string_view what) {
  const auto given = reader_.value(word_);
  field = given.value_or("");
  if (given && given->empty()) {
    reader_.refuse(std::string(word_) + " needs " + std::string(what));
  }
  return !field.empty();
}

bool OptionParse::choose(ModeChoice choice) {
  choices_ |= 1u << static_cast<unsigned>(choice);
  return true;
}

WholeRange OptionParse::frameRange() const {
  return command_ == kSimulate ? WholeRange{0, 1000000000} : WholeRange{1, 100000000};
}

WholeRange OptionParse::rowRange() const {
  return {static_cast<int64_t>(option_->range->low), static_cast<int64_t>(option_->range->high)};
}

void OptionParse::refuseValue(std::string_view value, const std::string& takes) const {
  // What is taken, when it has commas of its own, ends at a semicolon.
  const char* separator = takes.find(',') == std::string::npos ? ", not " : "; not ";
  reader_.refuse(std::string(word_) + " takes " + takes + separator + inQuotes(value));
}

bool OptionParse::chooseMode() {
  const auto asked = [this](ModeChoice choice) { return (choices_ >> static_cast<unsigned>(choice)) & 1u; };
  if (std::popcount(choices_) > 1) {
    reader_.refuse(
        "--fullscreen, --background, --preview, --configure and --root/--window-id each choose a mode: give "
        "one of them");
    if (!reader_.warns()) return false;
  }
  const bool environmentGiven = environmentWindow_ && *environmentWindow_;
  // Run by a host, its window wins over any other mode asked for.
  const bool hosted = reader_.warns();
  if (asked(ModeChoice::FullScreen) && !hosted) {
    run.mode = SaverMode::FullScreen;
  } else if (asked(ModeChoice::Background) && !hosted) {
    run.mode = SaverMode::Background;
  } else if ((asked(ModeChoice::Preview) || asked(ModeChoice::Configure)) && !hosted) {
    run.mode = SaverMode::Preview;
    run.configure = asked(ModeChoice::Configure);
  } else if (asked(ModeChoice::HostWindow) || environmentGiven || hosted) {
    // The window on the command line wins over the environment's, and
    // either over the root.
    run.mode = SaverMode::ForeignWindow;
    if (!run.windowId && environmentGiven) {
      run.windowId = parseWindowId(environmentWindow_);
      if (!run.windowId) {
        reader_.refuse("XSCREENSAVER_WINDOW holds " + inQuotes(environmentWindow_) +
                       ", which is not a window id");
        if (!hosted) return false;
      }
    }
  }
  if (run.size && run.mode != SaverMode::Window && run.mode != SaverMode::Preview) {
    reader_.refuse(
        "--size is for the window and the preview; full screen, the background and foreign windows have "
        "their own size");
    run.size.reset();
    return reader_.warns();
  }
  return true;
}
