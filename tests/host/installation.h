#pragma once

#include <cstdlib>
#include <string>

#include "host/x_session.h"

// The installation a test runs the program from.
struct Installation {
  std::string prefix;   // empty when the install failed
  std::string failure;  // what cmake --install said when it failed
};

// The prefix named by SWIRLMOTE_INSTALLED_PREFIX, where a package put the
// program (the package test sets it to /usr); otherwise this build, all of
// it, installed with cmake --install into scratchPrefix.
inline Installation installForTest(const std::string& scratchPrefix) {
  if (const char* installed = std::getenv("SWIRLMOTE_INSTALLED_PREFIX"); installed && *installed) {
    return {installed, {}};
  }
  const std::string out = shellOutput("cmake --install '" SWIRLMOTE_BUILD_DIR "' --prefix '" + scratchPrefix +
                                      "' 2>&1; echo status $?");
  if (!out.ends_with("status 0")) {
    return {{}, out};
  }
  return {scratchPrefix, {}};
}
