#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/config_home.h"
#include "support/process.h"

// A configuration home of the test's own, and the config command run in it.
class ConfigCommandTest : public ::testing::Test {
 protected:
  // Runs "swirlmote config ARGS..." as its own process in the test's
  // configuration home.
  ProgramResult config(const std::vector<std::string>& args) {
    std::vector<std::string> words{"config"};
    words.insert(words.end(), args.begin(), args.end());
    return runSwirlmote(words);
  }

  // Each command fails with status 1, prints nothing on standard output and
  // one line holding message on standard error.
  void expectEachFailsWithOneLine(const std::vector<std::vector<std::string>>& commands,
                                  const std::string& message) {
    for (const std::vector<std::string>& args : commands) {
      SCOPED_TRACE(args[0]);
      const ProgramResult run = config(args);
      EXPECT_EQ(run.status, 1);
      EXPECT_EQ(run.out, "");
      EXPECT_EQ(countLines(run.err), 1) << run.err;
      EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    }
  }

  TempConfigHome home_;
};
