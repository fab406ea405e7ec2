#pragma once

#include <functional>
#include <span>
#include <string_view>

// How a saver shown by the idle host ended.
enum class IdleSaverEnd {
  Input,      // input on its windows ended it (or it could not be shown)
  Dismissed,  // `dismissed` answered true: the user is back, or an inhibitor came
  Terminated  // a termination signal asked it to end
};

// Shows the saver full screen on every output, exactly as --fullscreen draws
// it, until it ends as above. Between frames it pumps GLib's default main
// context without blocking (g_main_context_iteration(nullptr, FALSE)):
// the idle monitor's and the inhibit service's events come through it, and
// may make `dismissed` true. The frame loop supplies it.
using ShowIdleSaver = std::function<IdleSaverEnd(const std::function<bool()>& dismissed)>;

// `swirlmote idle [--after SECONDS] [--enable | --disable]`: waits, in the
// user's session, for the desktop to say the user has been idle, shows the
// saver through showSaver, and waits again; it ends only by a termination
// signal or with the desktop. Returns the exit status.
int runIdle(std::span<const std::string_view> args, const ShowIdleSaver& showSaver);
