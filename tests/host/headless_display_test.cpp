#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/config_home.h"
#include "support/process.h"

namespace {

// Listens where an X client of display :N connects first (the abstract
// socket "/tmp/.X11-unix/XN"), on a display number no server uses, and
// counts the clients that come, hanging up on each so that none waits for a
// reply.
class ListeningDisplay {
 public:
  ListeningDisplay() {
    for (int number = 3000 + getpid() % 1000; number < 5000 && fd_ < 0; ++number) {
      if (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(number))) {
        continue;
      }
      const std::string path = "/tmp/.X11-unix/X" + std::to_string(number);
      sockaddr_un address{};
      address.sun_family = AF_UNIX;
      std::memcpy(address.sun_path + 1, path.data(), path.size());
      const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
      const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + path.size());
      if (bind(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0 && listen(fd, 8) == 0) {
        fd_ = fd;
        name_ = ":" + std::to_string(number);
      } else {
        close(fd);
      }
    }
    if (fd_ >= 0) {
      acceptor_ = std::thread([this] { hangUpOnClients(); });
    }
  }
  ~ListeningDisplay() {
    stop_ = true;
    if (acceptor_.joinable()) acceptor_.join();
    if (fd_ >= 0) close(fd_);
  }

  const std::string& name() const { return name_; }
  int clients() const { return clients_; }

 private:
  void hangUpOnClients() {
    while (!stop_) {
      pollfd waiting{fd_, POLLIN, 0};
      if (poll(&waiting, 1, 20) == 1) {
        const int client = accept(fd_, nullptr, nullptr);
        if (client >= 0) {
          ++clients_;
          close(client);
        }
      }
    }
  }

  int fd_ = -1;
  std::string name_;
  std::atomic<int> clients_ = 0;
  std::atomic<bool> stop_ = false;
  std::thread acceptor_;
};

struct HeadlessCase {
  const char* name;
  std::vector<std::string> args;
};

class HeadlessCommand : public ::testing::TestWithParam<HeadlessCase> {};

// A display in the environment is none of a headless command's business: it
// neither starts the toolkit nor connects to the X server.
TEST_P(HeadlessCommand, NeverConnectsToTheDisplay) {
  const TempConfigHome home;
  ListeningDisplay display;
  ASSERT_FALSE(display.name().empty()) << "no free display number";
  setenv("DISPLAY", display.name().c_str(), 1);
  std::vector<std::string> args = GetParam().args;
  for (std::string& arg : args) {
    if (arg == "OUT") arg = home.dir() + "/frames";
  }
  const ProgramResult result = runSwirlmote(args);
  unsetenv("DISPLAY");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(display.clients(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, HeadlessCommand,
    testing::Values(HeadlessCase{"render", {"render", "--frames", "2", "--size", "32x24", "--out", "OUT"}},
                    HeadlessCase{"simulate", {"simulate", "--frames", "2"}},
                    HeadlessCase{"config", {"config", "list"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
