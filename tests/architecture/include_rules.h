// The include rules of a source tree, checked over any root folder: the core's folders depend one
// way, and nothing outside the front ends names a front-end header or a platform.
#pragma once
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orelog::test {

// One source file's includes.
struct SourceFile {
  std::string path;  // relative to the root, with '/'
  std::vector<std::string> quoted;
  std::vector<std::string> angled;
  bool mentionsWin32 = false;  // a platform branch such as #if _WIN32
};

// Every .h and .cpp file of the core folders, tools/, bench/ and tests/ below root, by path.
// Folders the root lacks are skipped.
std::map<std::string, SourceFile> readSourceTree(const std::filesystem::path& root);

// Each fault reads "FILE -> TARGET".
// Core files that include a file of a folder of a higher layer.
std::vector<std::string> layerFaults(const std::map<std::string, SourceFile>& sources);
// Files outside the front ends that include a front-end header, by its path or through a front
// end's include folder; the front ends' own tests may include their front end's headers.
std::vector<std::string> frontEndFaults(const std::filesystem::path& root,
                                        const std::map<std::string, SourceFile>& sources);
// Core files that include a platform's system header or branch on the platform.
std::vector<std::string> platformFaults(const std::map<std::string, SourceFile>& sources);
// A cycle of includes between the core's folders, as "a -> b -> a"; nullopt when there is none.
std::optional<std::string> folderCycle(const std::map<std::string, SourceFile>& sources);

}  // namespace orelog::test
