#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// A value as messages quote it: in single quotes, cut after at most
// kQuotedBytes bytes (at a character's start, not inside one) and marked
// with "…" where it was cut, so that a huge value does not flood stderr.
inline constexpr std::size_t kQuotedBytes = 80;
std::string inQuotes(std::string_view value);

// Parses a whole decimal number in [minimum, maximum]; nothing on any other
// text.
std::optional<int64_t> parseInteger(std::string_view text, int64_t minimum, int64_t maximum);

// Walks "--name value" options; reports what was wrong on stderr.
class ArgumentReader {
 public:
  ArgumentReader(std::string_view command, std::span<const std::string_view> args);

  bool done() const { return index_ >= args_.size(); }
  std::string_view next() { return args_[index_++]; }
  // The value that follows an option; nothing (and a message) when missing.
  std::optional<std::string_view> value(std::string_view option);
  std::optional<int64_t> integer(std::string_view option, int64_t minimum, int64_t maximum);
  // Prints "swirlmote <command>: <message>" (no command: "swirlmote:
  // <message>") and a pointer to --help; once warning, "swirlmote: warning:
  // <message>; ignored" instead.
  int refuse(const std::string& message) const;
  // For a saver that a host runs, which must never end itself over what it
  // is given: what would be refused is only warned about from now on.
  void warnInstead() { warns_ = true; }
  bool warns() const { return warns_; }

 private:
  std::string_view command_;
  bool warns_ = false;
  std::span<const std::string_view> args_;
  std::size_t index_ = 0;
};
