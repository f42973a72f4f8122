// The core's folders depend one way: util <- profile <- game <- pool, ui, share <- app, with no
// include cycle between folders, and no platform header or platform branch inside the core.
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
    {"util", 0}, {"profile", 1}, {"game", 2}, {"pool", 3}, {"ui", 3}, {"share", 3}, {"app", 4},
};

// The contract in platform/ (its own files, not the front ends' folders) belongs to no layer: an
// include of a contract header counts as an include of what that header includes.
constexpr const char* kContractFolder = "platform";

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

bool isContract(const std::string& path) {
  return folderOf(path) == kContractFolder &&
         path.find('/', std::string(kContractFolder).size() + 1) == std::string::npos;
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

// Every source of the core and of the contract, by path.
std::map<std::string, SourceFile> readSources() {
  const fs::path root = ORELOG_SOURCE_DIR;
  std::map<std::string, SourceFile> sources;
  std::vector<std::string> folders{kContractFolder};
  for (const auto& [folder, layer] : kLayers) folders.push_back(folder);
  for (const std::string& folder : folders) {
    for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
      const auto extension = entry.path().extension();
      if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp")) continue;
      SourceFile source = readIncludes(root, entry.path());
      if (isCore(source.path) || isContract(source.path)) sources[source.path] = std::move(source);
    }
  }
  return sources;
}

// The core headers a file reaches, looking through contract headers.
std::set<std::string> coreIncludes(const std::map<std::string, SourceFile>& sources, const SourceFile& file) {
  std::set<std::string> reached;
  std::set<std::string> seenContract;
  std::function<void(const SourceFile&)> walk = [&](const SourceFile& from) {
    for (const std::string& target : from.quoted) {
      if (isCore(target)) reached.insert(target);
      if (!isContract(target) || !seenContract.insert(target).second) continue;
      const auto contract = sources.find(target);
      if (contract != sources.end()) walk(contract->second);
    }
  };
  walk(file);
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

TEST(IncludeDirection, TheCoreAndTheContractIncludeNoPlatformHeaderAndBranchOnNoPlatform) {
  std::vector<std::string> faults;
  for (const auto& [path, file] : readSources()) {
    if (file.mentionsWin32) faults.push_back(path + " branches on _WIN32");
    for (const std::string& target : file.angled) {
      for (const char* header : kPlatformHeaders) {
        if (target.rfind(header, 0) == 0) faults.push_back(path + " -> <" + target + ">");
      }
    }
    for (const std::string& target : file.quoted) {
      const bool frontEnd = folderOf(target) == kContractFolder && !isContract(target);
      if (frontEnd) faults.push_back(path + " -> " + target);
    }
  }
  EXPECT_TRUE(faults.empty()) << ::testing::PrintToString(faults);
}

}  // namespace
}  // namespace orelog
