// Running a shell command line, and the exit code a wait status stands for.
#pragma once
#include <sys/wait.h>

#include <cstdlib>
#include <string>

namespace orelog::test {

// The program's exit code, or -1 when it did not exit normally.
inline int exitCodeOf(int waitStatus) { return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1; }

inline int runShellCommand(const std::string& command) { return exitCodeOf(std::system(command.c_str())); }

}  // namespace orelog::test
