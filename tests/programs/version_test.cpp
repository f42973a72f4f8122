// Every program answers --version with the product's name and version and does nothing else; the
// game answers without a display.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/demo_pool_process.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_paths.h"

namespace orelog {
namespace {

const std::vector<std::string> kPrograms = {
    test::binaryPath("orelog-tool"),
    test::binaryPath("demo-pool"),
#ifdef ORELOG_HAVE_GAME_PROGRAM
    test::binaryPath("orelog"),
#endif
};

TEST(ProgramVersion, EveryProgramPrintsItsVersionWithoutADisplayAndTouchesNothing) {
  for (const std::string& program : kPrograms) {
    SCOPED_TRACE(program);
    test::TempFolder folder("orelog-version");
    const auto result = test::runProcess(folder.path.string(),
                                         {"/usr/bin/env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", program, "--version"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "Orelog 1.0\n");
    EXPECT_EQ(result.err, "");
    // Only the captured output files: no config.json, no lock, no record.
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path)) {
      const std::string name = entry.path().filename().string();
      if (name != ".stdout" && name != ".stderr") left.push_back(name);
    }
    EXPECT_TRUE(left.empty()) << ::testing::PrintToString(left);
  }
}

}  // namespace
}  // namespace orelog
