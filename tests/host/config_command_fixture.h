#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_program.h"
#include "support/temp_config_home.h"

// A configuration home of the test's own, and the config command run in it.
class ConfigCommandTest : public ::testing::Test {
 protected:
  // Runs "swirlmote config ARGS..." as its own process in the test's
  // configuration home.
  ProgramResult config(const std::vector<std::string>& args) {
    std::vector<std::string> words{"config"};
    words.insert(words.end(), args.begin(), args.end());
    return runSwirlmote(words, home_.dir());
  }

  TempConfigHome home_;
};
