// Runs the demo pool as a child process on 127.0.0.1 with a port the OS picks.
#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

namespace orelog::test {

struct DemoPoolProcess {
  pid_t pid = -1;
  int port = 0;  // 0 when the pool did not start

  // Starts build/demo-pool --port 0 with the given further flags and reads the port from its first line.
  explicit DemoPoolProcess(const std::vector<std::string>& flags = {});
  ~DemoPoolProcess();
  DemoPoolProcess(const DemoPoolProcess&) = delete;
  DemoPoolProcess& operator=(const DemoPoolProcess&) = delete;

  std::u16string url(const std::u16string& path = u"index.php") const;
};

// A loopback port that nothing listens on: bound by the OS's choice, then closed at once.
int closedLoopbackPort();

// Runs a program in a folder; its standard output and error are collected.
struct ProcessResult {
  int exitCode = -1;
  std::string out, err;
};
ProcessResult runProcess(const std::string& folder, const std::vector<std::string>& argv);

}  // namespace orelog::test
