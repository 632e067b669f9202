// Host tree: the test starts its own server as a child process.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "fault_server.h"

extern char** environ;

namespace {

bool ReadText(const std::string& path, std::string* text) {
  std::ifstream in(path);
  if (!in) return false;
  std::getline(in, *text);
  return true;
}

}  // namespace

bool FaultServer::Start(const std::string& tls_name) {
  Stop();
  static int counter = 0;
  folder_ = (std::filesystem::temp_directory_path() /
             ("pindle-fault-" + std::to_string(getpid()) + "-" + std::to_string(counter++)))
                .string();
  std::filesystem::create_directories(folder_);
  const std::string port_file = folder_ + "/port";
  std::vector<std::string> args = {PINDLE_PYTHON, PINDLE_FAULT_SERVER_SCRIPT, "--port-file",
                                   port_file};
  tls_ = !tls_name.empty();
  if (tls_) {
    args.push_back("--tls-dir");
    args.push_back(folder_ + "/tls");
    args.push_back("--tls-name");
    args.push_back(tls_name);
    cert_file_ = folder_ + "/tls/cert.pem";
  }
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(&arg[0]);
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return false;
  pid_ = pid;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (std::chrono::steady_clock::now() < deadline) {
    std::string text;
    if (ReadText(port_file, &text) && !text.empty()) {
      port_ = std::atoi(text.c_str());
      if (port_ > 0 && Script("{}")) return true;
    }
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) {
      pid_ = -1;
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  Stop();
  return false;
}

void FaultServer::Stop() {
  if (pid_ > 0) {
    kill(static_cast<pid_t>(pid_), SIGTERM);
    int status = 0;
    waitpid(static_cast<pid_t>(pid_), &status, 0);
    pid_ = -1;
  }
  if (!folder_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
    folder_.clear();
  }
}
