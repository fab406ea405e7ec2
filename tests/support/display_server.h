#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

// An X server of a test's own, running on the display number it chose.
struct StartedDisplayServer {
  pid_t pid;
  std::string display;  // ":N"
};

// Starts an X server (command: the server and its arguments, without
// -displayfd) that picks a free display number itself and ends with the
// test program; nothing when it cannot be run or does not come up in time.
// The server never resets: by default it does each time its last client
// leaves, and drops a client that connects meanwhile (ECONNRESET), which a
// program that closes one connection and opens the next at once meets on a
// loaded machine.
inline std::optional<StartedDisplayServer> startDisplayServer(std::vector<std::string> command,
                                                              int timeoutMilliseconds) {
  int ready[2];
  if (pipe(ready) != 0) {
    return std::nullopt;
  }
  command.push_back("-noreset");
  command.push_back("-displayfd");
  command.push_back(std::to_string(ready[1]));
  const pid_t pid = fork();
  if (pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    const int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, STDOUT_FILENO);
    dup2(quiet, STDERR_FILENO);
    close(ready[0]);
    std::vector<char*> args;
    for (std::string& word : command) args.push_back(word.data());
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  close(ready[1]);
  std::string number;
  pollfd wait{ready[0], POLLIN, 0};
  char c = 0;
  while (pid > 0 && poll(&wait, 1, timeoutMilliseconds) == 1 && read(ready[0], &c, 1) == 1 && c != '\n') {
    number += c;
  }
  close(ready[0]);
  if (number.empty()) {
    if (pid > 0) {
      ::kill(pid, SIGTERM);
      waitpid(pid, nullptr, 0);
    }
    return std::nullopt;
  }
  return StartedDisplayServer{pid, ":" + number};
}
