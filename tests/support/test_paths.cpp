// The two folders' names, compiled into this file alone: every other test object stays the same in a
// clone in another folder, so the compiler cache serves it there.
#include "tests/support/test_paths.h"

namespace orelog::test {
namespace {

std::string below(std::string folder, std::string_view relative) {
  if (!relative.empty()) folder.append("/").append(relative);
  return folder;
}

}  // namespace

std::string sourcePath(std::string_view relative) { return below(ORELOG_SOURCE_DIR, relative); }

std::string binaryPath(std::string_view relative) { return below(ORELOG_BINARY_DIR, relative); }

}  // namespace orelog::test
