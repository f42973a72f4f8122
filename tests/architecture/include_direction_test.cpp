// The core's folders depend one way: util <- services <- profile <- game <- pool, ui, share <- app,
// with no include cycle between folders, and no platform header, front-end header or platform
// branch inside the core.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace orelog {
namespace {

namespace fs = std::filesystem;

// A folder may include its own files and those of folders of a lower layer; folders of the same
// layer may include each other as long as no cycle forms.
const std::map<std::string, int> kLayers = {
    {"util", 0}, {"services", 1}, {"profile", 2}, {"game", 3},
    {"pool", 4}, {"ui", 4},       {"share", 4},   {"app", 5},
};

// The front ends (platform/linux, platform/windows) implement the contract of services/; nothing
// in the core names them.
constexpr const char* kFrontEndFolder = "platform";

// Headers of a system or third-party library that only a front end may include.
const char* const kPlatformHeaders[] = {"gtk/",  "gdk/",    "glib",      "pango",     "cairo",
                                        "curl/", "png.h",   "windows.h", "winhttp.h", "unistd.h",
                                        "io.h",  "fcntl.h", "sys/"};

struct SourceFile {
  std::string path;  // relative to the source tree, with '/'
  std::vector<std::string> quoted;
  std::vector<std::string> angled;
  bool mentionsWin32 = false;  // a platform branch such as #if _WIN32
};

std::string folderOf(const std::string& path) {
  return path.substr(0, path.find('/'));
}

bool isCore(const std::string& path) {
  return kLayers.count(folderOf(path)) > 0;
}

SourceFile readIncludes(const fs::path& root, const fs::path& file) {
  static const std::regex include(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
  SourceFile source{fs::relative(file, root).generic_string(), {}, {}};
  std::ifstream in(file);
  std::string line;
  std::smatch match;
  while (std::getline(in, line)) {
    if (line.find("_WIN32") != std::string::npos) source.mentionsWin32 = true;
    if (!std::regex_search(line, match, include)) continue;
    (match[1] == "\"" ? source.quoted : source.angled).push_back(match[2]);
  }
  return source;
}

// Every source of the core, by path.
std::map<std::string, SourceFile> readSources() {
  const fs::path root = ORELOG_SOURCE_DIR;
  std::map<std::string, SourceFile> sources;
  for (const auto& [folder, layer] : kLayers) {
    for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
      const auto extension = entry.path().extension();
      if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp")) continue;
      SourceFile source = readIncludes(root, entry.path());
      sources[source.path] = std::move(source);
    }
  }
  return sources;
}

// The core headers a file includes.
std::set<std::string> coreIncludes(const std::map<std::string, SourceFile>&, const SourceFile& file) {
  std::set<std::string> reached;
  for (const std::string& target : file.quoted) {
    if (isCore(target)) reached.insert(target);
  }
  return reached;
}

TEST(IncludeDirection, NoCoreFileIncludesAFolderOfAHigherLayer) {
  const auto sources = readSources();
  ASSERT_GT(sources.size(), 50u) << "the source tree was not found";
  std::vector<std::string> faults;
  for (const auto& [path, file] : sources) {
    if (!isCore(path)) continue;
    for (const std::string& target : coreIncludes(sources, file)) {
      if (kLayers.at(folderOf(target)) > kLayers.at(folderOf(path))) faults.push_back(path + " -> " + target);
    }
  }
  EXPECT_TRUE(faults.empty()) << ::testing::PrintToString(faults);
}

TEST(IncludeDirection, NoCycleBetweenFolders) {
  const auto sources = readSources();
  std::map<std::string, std::set<std::string>> edges;  // folder -> folders it includes
  for (const auto& [path, file] : sources) {
    if (!isCore(path)) continue;
    for (const std::string& target : coreIncludes(sources, file)) {
      if (folderOf(target) != folderOf(path)) edges[folderOf(path)].insert(folderOf(target));
    }
  }
  // Depth-first search; a folder met again while still on the path closes a cycle.
  std::vector<std::string> path;
  std::set<std::string> done;
  std::optional<std::string> cycle;
  std::function<void(const std::string&)> visit = [&](const std::string& folder) {
    if (cycle || done.count(folder)) return;
    const auto onPath = std::find(path.begin(), path.end(), folder);
    if (onPath != path.end()) {
      cycle = "";
      for (auto it = onPath; it != path.end(); ++it) *cycle += *it + " -> ";
      *cycle += folder;
      return;
    }
    path.push_back(folder);
    for (const std::string& next : edges[folder]) visit(next);
    path.pop_back();
    done.insert(folder);
  };
  for (const auto& [folder, layer] : kLayers) visit(folder);
  EXPECT_FALSE(cycle.has_value()) << *cycle;
}

TEST(IncludeDirection, TheCoreIncludesNoPlatformOrFrontEndHeaderAndBranchesOnNoPlatform) {
  std::vector<std::string> faults;
  for (const auto& [path, file] : readSources()) {
    if (file.mentionsWin32) faults.push_back(path + " branches on _WIN32");
    for (const std::string& target : file.angled) {
      for (const char* header : kPlatformHeaders) {
        if (target.rfind(header, 0) == 0) faults.push_back(path + " -> <" + target + ">");
      }
    }
    for (const std::string& target : file.quoted) {
      if (folderOf(target) == kFrontEndFolder) faults.push_back(path + " -> " + target);
    }
  }
  EXPECT_TRUE(faults.empty()) << ::testing::PrintToString(faults);
}

}  // namespace
}  // namespace orelog
