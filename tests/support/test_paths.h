// Where the tests find the source tree's files and the programs this build made.
#pragma once
#include <string>
#include <string_view>

namespace orelog::test {

// The source tree's file at a path relative to its root, e.g. sourcePath("res/orelog.rc"); the root
// itself for "".
std::string sourcePath(std::string_view relative);

// The build folder's file at a path relative to it, e.g. binaryPath("orelog-tool").
std::string binaryPath(std::string_view relative);

}  // namespace orelog::test
