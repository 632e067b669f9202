// Host tree: the test starts the server as its own child process.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "test_server.h"

extern char** environ;

namespace test_support {

bool TestServer::Start(int port, const std::vector<std::string>& arguments, const std::function<bool()>& ready) {
  Stop();
  const std::filesystem::path port_file = folder() / (script_ + ".port");
  std::error_code ignored;
  std::filesystem::remove(port_file, ignored);
  std::vector<std::string> args = {PINDLE_PYTHON, std::string(PINDLE_TOOLS_DIR) + "/" + script_,
                                   "--port",      std::to_string(port),
                                   "--port-file", port_file.string()};
  args.insert(args.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(&arg[0]);
  argv.push_back(nullptr);
  // The server prints its port; only its errors belong in the test's output.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return false;
  child_ = pid;
  running_ = true;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (std::chrono::steady_clock::now() < deadline) {
    port_ = ReadPortFile(port_file);
    if (port_ > 0 && ready()) return true;
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) {
      child_ = -1;
      running_ = false;
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  Stop();
  return false;
}

void TestServer::Stop() {
  if (child_ > 0) {
    kill(static_cast<pid_t>(child_), SIGTERM);
    int status = 0;
    waitpid(static_cast<pid_t>(child_), &status, 0);
    child_ = -1;
  }
  running_ = false;
}

int TestServer::UnusedPort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return 0;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  int port = 0;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    port = ntohs(address.sin_port);
  }
  close(fd);
  return port;
}

}  // namespace test_support
