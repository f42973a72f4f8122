// The core's folders depend one way: util <- services <- profile <- game <- pool, ui, share <- app,
// with no include cycle between folders; nothing outside the front ends includes a front-end
// header, and the core no platform header or platform branch. The same checks must catch each
// kind of fault planted in a small tree.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "include_rules.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_paths.h"

namespace orelog::test {
namespace {

using Faults = std::vector<std::string>;

TEST(IncludeDirection, TheSourceTreeKeepsEveryRule) {
  const auto sources = readSourceTree(test::sourcePath(""));
  ASSERT_GT(sources.size(), 50u) << "the source tree was not found";
  EXPECT_EQ(layerFaults(sources), Faults{});
  EXPECT_EQ(frontEndFaults(test::sourcePath(""), sources), Faults{});
  EXPECT_EQ(platformFaults(sources), Faults{});
  const auto cycle = folderCycle(sources);
  EXPECT_FALSE(cycle.has_value()) << *cycle;
}

struct PlantedFile {
  const char* path;
  const char* text;
};

// A small tree with one file of each kind of fault, next to files that keep the rules.
const PlantedFile kPlantedTree[] = {
    // The front ends' headers, reached by path or through their include folders.
    {"platform/linux/gtk/main_window.h", ""},
    {"platform/linux/services/pango_text.h", ""},
    {"platform/windows/app/win_platform.h", ""},
    {"services/platform.h", ""},
    {"app/shell.h", "#include \"ui/page.h\"\n"},
    {"ui/page.h", "#include \"services/platform.h\"\n#include <string>\n"},
    // Faults.
    {"ui/front_end_page.cpp", "#include \"ui/page.h\"\n#include \"platform/linux/gtk/main_window.h\"\n"},
    {"util/upward.h", "#include \"app/shell.h\"\n"},
    {"tools/planted/main.cpp", "#include \"platform/windows/app/win_platform.h\"\n"},
    {"bench/planted_bench.cpp", "#include \"pango_text.h\"\n"},
    {"tests/ui/planted_test.cpp", "#include \"pango_text.h\"\n"},
    {"tests/windows/other_front_end_test.cpp", "#include \"platform/linux/gtk/main_window.h\"\n"},
    {"game/branching.cpp", "#include <gtk/gtk.h>\n#ifdef _WIN32\n#endif\n"},
    {"pool/loop.h", "#include \"share/loop.h\"\n"},
    {"share/loop.h", "#include \"pool/loop.h\"\n"},
    // The front ends' own tests.
    {"tests/platform/pango_text_test.cpp", "#include \"pango_text.h\"\n#include \"platform/linux/gtk/main_window.h\"\n"},
    {"tests/windows/win_platform_test.cpp", "#include \"platform/windows/app/win_platform.h\"\n#include \"app/shell.h\"\n"},
};

TEST(IncludeDirection, EachPlantedFaultIsReported) {
  const TempFolder tree("orelog-planted-tree");
  for (const PlantedFile& file : kPlantedTree) {
    std::filesystem::create_directories(tree.file(file.path).parent_path());
    tree.write(file.path, file.text);
  }
  const auto sources = readSourceTree(tree.path);
  EXPECT_EQ(layerFaults(sources), (Faults{"util/upward.h -> app/shell.h"}));
  EXPECT_EQ(frontEndFaults(tree.path, sources), (Faults{
                                                    "bench/planted_bench.cpp -> pango_text.h",
                                                    "tests/ui/planted_test.cpp -> pango_text.h",
                                                    "tests/windows/other_front_end_test.cpp -> platform/linux/gtk/main_window.h",
                                                    "tools/planted/main.cpp -> platform/windows/app/win_platform.h",
                                                    "ui/front_end_page.cpp -> platform/linux/gtk/main_window.h",
                                                }));
  EXPECT_EQ(platformFaults(sources), (Faults{"game/branching.cpp -> _WIN32", "game/branching.cpp -> <gtk/gtk.h>"}));
  EXPECT_EQ(folderCycle(sources), "pool -> share -> pool");
}

}  // namespace
}  // namespace orelog::test
