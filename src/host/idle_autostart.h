#pragma once

#include <optional>
#include <string>

// The user's own autostart entry for `swirlmote idle`, in
// $XDG_CONFIG_HOME/autostart (by default ~/.config/autostart). It overrides
// the system-wide entry of the same name, which the package installs
// hidden, so that the host starts with the session only once asked to.
constexpr char kIdleAutostartName[] = "swirlmote-idle.desktop";

// Where the entry goes; nothing when neither XDG_CONFIG_HOME nor HOME is an
// absolute path.
std::optional<std::string> idleAutostartPath();

// The entry's text: `swirlmote idle`, with --after when given.
std::string idleAutostartEntry(std::optional<int> afterSeconds);

// Writes the entry, or removes it (an absent one is already off); false
// with a message in error.
bool enableIdleAutostart(std::optional<int> afterSeconds, std::string& error);
bool disableIdleAutostart(std::string& error);
