#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/files.h"

extern char** environ;

inline bool waitFor(const std::function<bool()>& ready, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < end) {
    if (ready()) {
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return ready();
}

// A running child process with its stderr in a file; killed if still running
// when destroyed.
class Process {
 public:
  // argv[0] is the program, looked up on PATH; extraEnvironment adds or
  // replaces "NAME=value" entries, and "NAME=" alone removes NAME. Standard
  // output goes to outPath.
  Process(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnvironment,
          const std::string& errPath, const std::string& outPath = "/dev/null")
      : errPath_(errPath) {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
      const std::string text = *entry;
      const std::string name = text.substr(0, text.find('='));
      bool replaced = false;
      for (const std::string& extra : extraEnvironment) {
        replaced = replaced || extra.substr(0, extra.find('=')) == name;
      }
      if (!replaced) {
        environment.push_back(text);
      }
    }
    for (const std::string& extra : extraEnvironment) {
      if (extra.back() != '=') {
        environment.push_back(extra);
      }
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    std::vector<std::string> words = argv;
    std::vector<char*> args;
    for (std::string& word : words) args.push_back(word.data());
    args.push_back(nullptr);
    std::vector<char*> env;
    for (std::string& entry : environment) env.push_back(entry.data());
    env.push_back(nullptr);
    if (posix_spawnp(&pid_, args[0], &actions, nullptr, args.data(), env.data()) != 0) {
      pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
  }
  ~Process() {
    if (running()) {
      ::kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool started() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }
  void signal(int number) const {
    if (pid_ > 0) ::kill(pid_, number);
  }

  // The exit status (-1 when ended by a signal), or nothing when still
  // running after the timeout.
  std::optional<int> wait(std::chrono::milliseconds timeout) {
    if (status_) return status_;
    waitFor([this] { return reap(WNOHANG); }, timeout);
    return status_;
  }
  // The exit status (-1 when ended by a signal, or never started), once it
  // has ended.
  int finish() {
    if (!status_ && !reap(0)) status_ = -1;
    return *status_;
  }
  std::string errors() const { return readFile(errPath_); }
  // The signal that ended it, or 0 when it exited or still runs.
  int endingSignal() const { return signal_; }

 private:
  bool running() const { return pid_ > 0 && !status_; }
  bool reap(int options) {
    int raw = 0;
    if (pid_ > 0 && waitpid(pid_, &raw, options) == pid_) {
      status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
      signal_ = WIFSIGNALED(raw) ? WTERMSIG(raw) : 0;
    }
    return status_.has_value();
  }

  pid_t pid_ = -1;
  std::string errPath_;
  std::optional<int> status_;
  int signal_ = 0;
};

struct ProgramResult {
  int status;  // exit status, or -1 when it did not exit normally
  std::string out;
  std::string err;
};

// Runs argv (as Process does) to its end, capturing its output through
// files in a scratch directory of its own.
inline ProgramResult runProgram(const std::vector<std::string>& argv,
                                const std::vector<std::string>& extraEnvironment = {}) {
  ScratchDir scratch;
  Process run(argv, extraEnvironment, scratch / "stderr", scratch / "stdout");
  const int status = run.finish();
  return {status, readFile(scratch / "stdout"), run.errors()};
}

// Runs the swirlmote program with the given arguments in the current
// environment.
inline ProgramResult runSwirlmote(const std::vector<std::string>& args) {
  std::vector<std::string> argv{SWIRLMOTE_BINARY};
  argv.insert(argv.end(), args.begin(), args.end());
  return runProgram(argv);
}

// A shell command run to its end.
inline ProgramResult runShell(const std::string& command) {
  return runProgram({"sh", "-c", command});
}

// A shell command's standard output, without the trailing newline.
inline std::string shellOutput(const std::string& command) {
  std::string out = runShell(command).out;
  while (!out.empty() && out.back() == '\n') {
    out.pop_back();
  }
  return out;
}

// Whether a program is on PATH.
inline bool haveProgram(const std::string& name) {
  return runShell("command -v " + name + " >/dev/null 2>&1").status == 0;
}
