#include "host/termination.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <initializer_list>

namespace {

volatile std::sig_atomic_t requested = 0;
int wakePipe[2] = {-1, -1};

void onSignal(int signal) {
  requested = signal;
  if (wakePipe[1] >= 0) {
    const char byte = 1;
    [[maybe_unused]] const auto written = write(wakePipe[1], &byte, 1);
  }
}

}  // namespace

void catchTerminationSignals() {
  if (wakePipe[0] < 0 && pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    wakePipe[0] = wakePipe[1] = -1;
  }
  struct sigaction action = {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    sigaction(signal, &action, nullptr);
  }
}

bool terminationRequested() {
  return requested != 0;
}

int terminationSignal() {
  return requested;
}

int terminationDescriptor() {
  return wakePipe[0];
}

void endByTerminationSignal() {
  const int signal = requested != 0 ? static_cast<int>(requested) : SIGTERM;
  std::signal(signal, SIG_DFL);
  std::raise(signal);
  std::_Exit(128 + signal);
}
