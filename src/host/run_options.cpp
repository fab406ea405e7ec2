#include "host/run_options.h"

#include "host/option_parse.h"
#include "host/option_table.h"

std::optional<RunOptions> parseRunOptions(unsigned command, std::span<const std::string_view> args,
                                          const char* environmentWindow) {
  OptionParse parse(command, args, environmentWindow);
  // Run by a host, a word that cannot be used is skipped after its warning.
  while (!parse.done()) {
    const std::string_view word = parse.next();
    const CommandOption* option = parse.taken(word);
    if (!(option && parse.read(*option, word)) && !parse.warns()) {
      return std::nullopt;
    }
  }
  return parse.finish();
}
