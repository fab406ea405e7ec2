#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "host/arguments.h"
#include "host/run_options.h"

struct CommandOption;

// A whole number's bounds, both included.
struct WholeRange {
  int64_t low;
  int64_t high;
};

// The saver's mode options as given; the mode is chosen once all are read.
enum class ModeChoice : unsigned { FullScreen, Background, Preview, Configure, HostWindow };

// One command's command line, read into its RunOptions: each row of the
// option table binds its option to one of the readers below and to the field
// of run it sets, so that every spelling of an option sets the same field.
class OptionParse {
 public:
  // command: the OptionTaker bit of the command whose arguments args are.
  OptionParse(unsigned command, std::span<const std::string_view> args, const char* environmentWindow);

  bool done() const { return reader_.done(); }
  std::string_view next() { return reader_.next(); }
  // The row that names the word when the command takes it; otherwise null,
  // after a message.
  const CommandOption* taken(std::string_view word) const;
  // Reads the option that the row names, given as word, with its value
  // through the row's reader; false after a message.
  bool read(const CommandOption& option, std::string_view word);
  // Run by a host: what cannot be used is warned about and skipped.
  bool warns() const { return reader_.warns(); }
  // What was read, once the command's own checks pass; nothing after a
  // message.
  std::optional<RunOptions> finish();

  RunOptions run;

  // The readers. Each reads the option's value, if it takes one; one that
  // cannot use it resets the field to its default and returns false after a
  // message.
  template <typename T, typename V>
  bool set(T& field, V value) {
    field = value;
    return true;
  }
  // Reads the value of an option that takes one, and drops it.
  bool skip();
  template <typename T>
  bool whole(T& field, WholeRange range);
  // A whole number within the row's range.
  template <typename T>
  bool whole(T& field) {
    return whole(field, rowRange());
  }
  // A number within the row's range.
  bool number(std::optional<float>& field);
  // plain ("auto", "cycling") or a colour.
  bool color(std::optional<std::optional<ColorRGBA>>& field, std::string_view plain);
  // What parse makes of the value; takes says what it takes ("classic or
  // batched").
  template <typename T, typename Parse>
  bool text(T& field, Parse parse, const std::string& takes);
  // A name that is not empty; what says what it names ("a file name").
  bool name(std::string& field, std::string_view what);
  bool choose(ModeChoice choice);
  // --frames' bounds: simulate takes 0 and more frames than drawing does.
  WholeRange frameRange() const;

 private:
  WholeRange rowRange() const;
  void refuseValue(std::string_view value, const std::string& takes) const;
  bool chooseMode();

  unsigned command_;
  ArgumentReader reader_;
  const char* environmentWindow_;
  const CommandOption* option_ = nullptr;
  std::string_view word_;
  unsigned choices_ = 0;
};

template <typename T>
bool OptionParse::whole(T& field, WholeRange range) {
  const auto given = reader_.integer(word_, range.low, range.high);
  field = given ? T(*given) : T{};
  return given.has_value();
}

template <typename T, typename Parse>
bool OptionParse::text(T& field, Parse parse, const std::string& takes) {
  const auto given = reader_.value(word_);
  if (given) {
    if (const auto parsed = parse(*given)) {
      field = *parsed;
      return true;
    }
    refuseValue(*given, takes);
  }
  field = T{};
  return false;
}
