#include "host/idle_autostart.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

std::optional<std::string> idleAutostartPath() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  std::string config;
  if (xdg && xdg[0] == '/') {
    config = xdg;
  } else if (home && home[0] == '/') {
    config = std::string(home) + "/.config";
  } else {
    return std::nullopt;
  }
  return config + "/autostart/" + kIdleAutostartName;
}

// Hidden=false and X-GNOME-Autostart-enabled=true undo what the hidden
// system-wide entry says, for every desktop that reads either key.
std::string idleAutostartEntry(std::optional<int> afterSeconds) {
  const std::string after = afterSeconds ? " --after " + std::to_string(*afterSeconds) : "";
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Swirlmote idle screen saver\n"
         "Comment=Shows Swirlmote full screen when the session has been idle\n"
         "Exec=swirlmote idle" +
         after +
         "\n"
         "Icon=swirlmote\n"
         "NoDisplay=true\n"
         "Hidden=false\n"
         "X-GNOME-Autostart-enabled=true\n";
}

bool enableIdleAutostart(std::optional<int> afterSeconds, std::string& error) {
  const auto path = idleAutostartPath();
  if (!path) {
    error = "neither XDG_CONFIG_HOME nor HOME is an absolute path";
    return false;
  }
  std::error_code failure;
  fs::create_directories(fs::path(*path).parent_path(), failure);
  const std::string temporary = *path + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << idleAutostartEntry(afterSeconds);
    out.flush();
    if (!out) {
      error = "cannot write " + temporary;
      return false;
    }
  }
  fs::rename(temporary, *path, failure);
  if (failure) {
    error = "cannot write " + *path + ": " + failure.message();
    fs::remove(temporary, failure);
    return false;
  }
  return true;
}

bool disableIdleAutostart(std::string& error) {
  const auto path = idleAutostartPath();
  if (!path) {
    error = "neither XDG_CONFIG_HOME nor HOME is an absolute path";
    return false;
  }
  std::error_code failure;
  fs::remove(*path, failure);
  if (failure) {
    error = "cannot remove " + *path + ": " + failure.message();
    return false;
  }
  return true;
}
