// Starting and ending the demo pool process, and running a program to completion.
#include "tests/support/demo_pool_process.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "tests/support/read_file.h"
#include "tests/support/shell_command.h"
#include "tests/support/test_paths.h"

namespace orelog::test {
namespace {

std::vector<char*> argumentPointers(std::vector<std::string>& argv) {
  std::vector<char*> pointers;
  for (auto& argument : argv) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  return pointers;
}

std::string readFirstLine(int fd) {
  std::string line;
  char c = 0;
  while (read(fd, &c, 1) == 1 && c != '\n') line += c;
  return line;
}

// "http://127.0.0.1:PORT/" -> PORT, or 0.
int portFromLine(const std::string& line) {
  const auto colon = line.rfind(':');
  return colon == std::string::npos ? 0 : std::atoi(line.c_str() + colon + 1);
}

}  // namespace

DemoPoolProcess::DemoPoolProcess(const std::vector<std::string>& flags) {
  std::vector<std::string> argv{binaryPath("demo-pool"), "--port", "0"};
  argv.insert(argv.end(), flags.begin(), flags.end());
  auto pointers = argumentPointers(argv);  // before fork: the child only execs
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return;
  pid = fork();
  if (pid == 0) {
    // A test program that crashes takes its pool with it: an orphaned pool would hold the test's
    // output open, and the runner would wait for it for ever.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    dup2(pipeFds[1], STDOUT_FILENO);
    close(pipeFds[0]);
    close(pipeFds[1]);
    execv(pointers[0], pointers.data());
    _exit(127);
  }
  close(pipeFds[1]);
  if (pid > 0) port = portFromLine(readFirstLine(pipeFds[0]));
  close(pipeFds[0]);
}

DemoPoolProcess::~DemoPoolProcess() {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
}

std::u16string DemoPoolProcess::url(const std::u16string& path) const {
  const std::string text = "http://127.0.0.1:" + std::to_string(port) + "/";
  return std::u16string(text.begin(), text.end()) + path;
}

int closedLoopbackPort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  close(fd);
  return ntohs(address.sin_port);
}

ProcessResult runProcess(const std::string& folder, const std::vector<std::string>& argv) {
  const std::string outFile = folder + "/.stdout", errFile = folder + "/.stderr";
  auto copy = argv;
  auto pointers = argumentPointers(copy);  // before fork: the child only execs
  const pid_t child = fork();
  if (child == 0) {
    if (chdir(folder.c_str()) != 0) _exit(126);
    const int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    execv(pointers[0], pointers.data());
    _exit(127);
  }
  ProcessResult result;
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) return result;
  result.exitCode = exitCodeOf(status);
  result.out = readFile(outFile);
  result.err = readFile(errFile);
  return result;
}

}  // namespace orelog::test
