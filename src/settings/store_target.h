#pragma once

#include <string>

// The directory part of a path: "." for a bare name, "/" for a name in the
// root.
std::string directoryOf(const std::string& path);

// The file a store's name leads to: the name itself, or the last name in the
// chain of symbolic links it starts, which may not exist yet. Dotfile
// managers keep configuration files as links into a repository; reading and
// replacing the target instead of the name keeps such a link in place.
std::string storeTarget(const std::string& path);
