#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string_view>

// Whether the suite runs under continuous integration (CI set, and not to
// "false" or "0"), where the set-up has installed everything the tests use.
inline bool runningUnderCi() {
  const char* ci = std::getenv("CI");
  return ci && *ci && std::string_view(ci) != "false" && std::string_view(ci) != "0";
}

// Ends a test that cannot find what it needs: under continuous integration
// it fails naming what is missing, elsewhere it is skipped with that reason.
#define REQUIRE_OR_SKIP(available, what) \
  do {                                   \
    if (!(available)) {                  \
      if (runningUnderCi()) {            \
        FAIL() << "missing: " << what;   \
      } else {                           \
        GTEST_SKIP() << what;            \
      }                                  \
    }                                    \
  } while (0)
