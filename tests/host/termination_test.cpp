#include "host/termination.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>

namespace {

// What a child that caught the signal made of it.
constexpr char kRequested = 1;
constexpr char kWoken = 2;
constexpr char kSystemCallRestarted = 4;
constexpr char kEverything = kRequested | kWoken | kSystemCallRestarted;

// In a child: catches the termination signals, takes one during a read that
// must go on, reports what it saw, then ends by the signal.
void childTakingTheSignal(int number, int report) {
  catchTerminationSignals();
  int data[2];
  if (pipe(data) != 0) {
    return;
  }
  const pid_t self = getpid();
  const pid_t sender = fork();
  if (sender == 0) {
    // Signals the parent while it waits in read(), then gives it its byte.
    usleep(100000);
    kill(self, number);
    usleep(100000);
    const char byte = 'x';
    _exit(write(data[1], &byte, 1) == 1 ? 0 : 1);
  }
  char byte = 0;
  const ssize_t got = read(data[0], &byte, 1);
  waitpid(sender, nullptr, 0);
  char seen = 0;
  if (got == 1 && byte == 'x') {
    seen |= kSystemCallRestarted;
  }
  if (terminationRequested()) {
    seen |= kRequested;
  }
  pollfd wake{terminationWakeFd(), POLLIN, 0};
  if (wake.fd >= 0 && poll(&wake, 1, 0) == 1 && (wake.revents & POLLIN)) {
    seen |= kWoken;
  }
  if (write(report, &seen, 1) == 1) {
    endByTerminationSignal();
  }
}

class TerminationTest : public ::testing::TestWithParam<int> {};

TEST_P(TerminationTest, TheSignalIsRecordedWakesAPollAndEndsTheProgramAfterTheCleanUp) {
  const int number = GetParam();
  int report[2];
  ASSERT_EQ(pipe(report), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(report[0]);
    childTakingTheSignal(number, report[1]);
    _exit(0);
  }
  close(report[1]);
  char seen = 0;
  ASSERT_EQ(read(report[0], &seen, 1), 1);
  close(report[0]);
  EXPECT_EQ(seen, kEverything) << "1: recorded, 2: woke a poll, 4: restarted the read it interrupted";
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status)) << "exited with " << WEXITSTATUS(status) << " rather than by "
                                   << strsignal(number);
  EXPECT_EQ(WTERMSIG(status), number);
}

TEST(Termination, WithoutASignalNothingIsRequestedAndTheProgramGoesOn) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    catchTerminationSignals();
    pollfd wake{terminationWakeFd(), POLLIN, 0};
    const bool quiet = wake.fd >= 0 && poll(&wake, 1, 0) == 0 && !terminationRequested();
    endByTerminationSignal();
    _exit(quiet ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

INSTANTIATE_TEST_SUITE_P(Signals, TerminationTest, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const auto& info) { return std::string(sigabbrev_np(info.param)); });

}  // namespace
