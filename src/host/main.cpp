#include <cstdio>
#include <new>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/arguments.h"
#include "host/commands.h"
#include "host/idle_command.h"
#include "host/idle_saver.h"
#include "host/option_table.h"
#include "host/termination.h"

namespace {

// The subcommands that draw nothing on a display, and keep the default
// actions of the termination signals; the saver and the idle host, which
// shows it, catch them.
bool isHeadlessSubcommand(std::string_view first) {
  return first == "simulate" || first == "render" || first == "config";
}

int run(std::span<const std::string_view> args) {
  if (!args.empty()) {
    const std::string_view first = args.front();
    const std::span<const std::string_view> rest(args.data() + 1, args.size() - 1);
    if (first == "simulate") {
      return runSimulate(rest);
    }
    if (first == "render") {
      return runRender(rest);
    }
    if (first == "config") {
      return runConfig(rest);
    }
    if (first == "idle") {
      return runIdle(rest, showIdleSaver);
    }
    const CommandOption* option = findOption(first);
    const bool help = first == "help" || option == &kHelpOption;
    const bool version = option == &kVersionOption;
    if ((help || version) && !rest.empty()) {
      return ArgumentReader("", {}).refuse(std::string(first) + " takes nothing after it, not " +
                                           inQuotes(rest.front()));
    }
    if (help) {
      std::fputs(usageText().c_str(), stdout);
      return 0;
    }
    if (version) {
      std::printf("swirlmote %s\n", SWIRLMOTE_VERSION);
      return 0;
    }
  }
  return runSaver(args);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  // Hosts may end the saver the moment they start it: its handlers are in
  // place before any connection is made, so that such a signal ends it as a
  // later one does.
  if (args.empty() || !isHeadlessSubcommand(args.front())) {
    catchTerminationSignals();
  }
  // Buffers are sized before they are made, but the memory left can still
  // run out while a frame is drawn or read back.
  int status = 1;
  try {
    status = run(args);
  } catch (const std::bad_alloc&) {
    std::fputs("swirlmote: out of memory\n", stderr);
  }
  endByTerminationSignal();
  return status;
}
