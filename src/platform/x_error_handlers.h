#pragma once

// Replaces Xlib's handlers for the whole process, SDL's connection included:
// a failed request (on a window destroyed under us, say) is ignored, and a
// lost connection, whether a read or a write finds it, ends the program with
// one line and status 0 instead of a crash. Install before SDL_Init (SDL keeps the handlers it finds and puts
// them back when it ends) and again once GTK has put in its own.
void installQuietXErrorHandlers();

// Opens a connection of our own to the X server and, when there is one,
// makes a crash that happens after the server has gone end the program as a
// lost connection does. The GL driver reads the replies to its first GLX
// requests without checking them, so a server that goes away while GTK or
// SDL bring GL up would otherwise end the program with SIGSEGV. False when
// there is no X server to connect to.
bool watchForLostXServer();

// Gives up the connection and puts back the default action of a crash, once
// the display and every GL context are up: from then on a lost server is
// known through the connection error handler.
void stopWatchingForLostXServer();

// Watches from its making until stop() or its end, however the bring-up
// ends.
class LostXServerWatch {
 public:
  LostXServerWatch() { watchForLostXServer(); }
  ~LostXServerWatch() { stop(); }
  LostXServerWatch(const LostXServerWatch&) = delete;
  LostXServerWatch& operator=(const LostXServerWatch&) = delete;
  void stop() { stopWatchingForLostXServer(); }
};
