#include "platform/x_error_handlers.h"

#include <X11/Xlib.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <utility>

namespace {

int ignoreError(Display*, XErrorEvent*) {
  return 0;
}

constexpr char kLostMessage[] = "swirlmote: lost the connection to the X server\n";

int connectionLost(Display*) {
  std::fputs(kLostMessage, stderr);
  _exit(0);
}

Display* watchedDisplay = nullptr;
int watchedConnection = -1;

// The server closes every client's connection when it ends: our idle one
// then reads as ended, at once or within moments of the driver's.
void onCrash(int) {
  pollfd ended{watchedConnection, POLLIN | POLLRDHUP, 0};
  poll(&ended, 1, 200);
  char byte = 0;
  if (recv(watchedConnection, &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 0) {
    [[maybe_unused]] const auto written = write(STDERR_FILENO, kLostMessage, sizeof kLostMessage - 1);
    _exit(0);
  }
  // Any other crash goes on as one, with the default action restored.
}

}  // namespace

void installQuietXErrorHandlers() {
  XSetErrorHandler(ignoreError);
  XSetIOErrorHandler(connectionLost);
  // A request written to a server that has just gone would otherwise end the
  // program with SIGPIPE before Xlib sees the closed connection.
  std::signal(SIGPIPE, SIG_IGN);
}

bool watchForLostXServer() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    return false;
  }
  XSync(display, False);
  watchedDisplay = display;
  watchedConnection = ConnectionNumber(display);
  struct sigaction action = {};
  action.sa_handler = onCrash;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND | SA_NODEFER;
  sigaction(SIGSEGV, &action, nullptr);
  return true;
}

void stopWatchingForLostXServer() {
  if (!watchedDisplay) {
    return;
  }
  struct sigaction action = {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(SIGSEGV, &action, nullptr);
  watchedConnection = -1;
  XCloseDisplay(std::exchange(watchedDisplay, nullptr));
}
