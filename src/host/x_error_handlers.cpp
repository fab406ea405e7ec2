#include "host/x_error_handlers.h"

#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdio>

namespace {

int ignoreError(Display*, XErrorEvent*) {
  return 0;
}

int connectionLost(Display*) {
  std::fputs("swirlmote: lost the connection to the X server\n", stderr);
  _exit(0);
}

}  // namespace

void installQuietXErrorHandlers() {
  XSetErrorHandler(ignoreError);
  XSetIOErrorHandler(connectionLost);
}
