#include "host/termination.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <initializer_list>

namespace {

// The first signal that asked to end; later ones change nothing.
volatile std::sig_atomic_t requested = 0;
int wakePipe[2] = {-1, -1};

void onSignal(int number) {
  const int savedErrno = errno;
  if (requested == 0) {
    requested = number;
  }
  // The pipe only has to be readable: a full one already is.
  if (wakePipe[1] >= 0) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = write(wakePipe[1], &byte, 1);
  }
  errno = savedErrno;
}

}  // namespace

void catchTerminationSignals() {
  if (wakePipe[0] < 0 && pipe2(wakePipe, O_NONBLOCK | O_CLOEXEC) != 0) {
    wakePipe[0] = wakePipe[1] = -1;
  }
  struct sigaction action = {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    sigaddset(&action.sa_mask, signal);
  }
  action.sa_flags = SA_RESTART;
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    sigaction(signal, &action, nullptr);
  }
}

bool terminationRequested() {
  return requested != 0;
}

int terminationWakeFd() {
  return wakePipe[0];
}

void endByTerminationSignal() {
  const int number = requested;
  if (number == 0) {
    return;
  }
  // The default action ends the process without flushing stdio.
  std::fflush(nullptr);
  std::signal(number, SIG_DFL);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, number);
  sigprocmask(SIG_UNBLOCK, &only, nullptr);
  raise(number);
}
