#pragma once

#include <pwd.h>
#include <sys/types.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

#include "host/x_session.h"

// A user that screen-saving hosts accept: XScreenSaver's daemon refuses to
// start savers as root, so as root the tests run hosts as nobody, otherwise
// as the test's own user.
struct HostUser {
  std::vector<std::string> prefix;  // what runs a command as the user
  uid_t uid;
  gid_t gid;
};

inline std::optional<HostUser> hostUser() {
  if (geteuid() != 0) {
    return HostUser{{}, geteuid(), getegid()};
  }
  const passwd* nobody = getpwnam("nobody");
  if (!nobody || !haveProgram("runuser")) {
    return std::nullopt;
  }
  return HostUser{{"runuser", "-u", "nobody", "--"}, nobody->pw_uid, nobody->pw_gid};
}

// The command words that run what follows as the user, in a clean
// environment of the given entries. A sanitized build's leak check would
// report GTK's and the GL driver's caches at every exit a host sees.
inline std::vector<std::string> asHostUser(const HostUser& user,
                                           const std::vector<std::string>& environment) {
  std::vector<std::string> words = user.prefix;
  words.push_back("env");
  words.push_back("-i");
  words.insert(words.end(), environment.begin(), environment.end());
  words.push_back("PATH=/usr/bin:/bin");
  words.push_back("ASAN_OPTIONS=detect_leaks=0");
  return words;
}
