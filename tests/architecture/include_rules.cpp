// The include rules of a source tree: reading each file's includes and judging them.
#include "include_rules.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <regex>
#include <set>

namespace orelog::test {
namespace {

namespace fs = std::filesystem;

// A folder may include its own files and those of folders of a lower layer; folders of the same
// layer may include each other as long as no cycle forms.
const std::map<std::string, int> kLayers = {
    {"util", 0}, {"services", 1}, {"profile", 2}, {"game", 3},
    {"pool", 4}, {"ui", 4},       {"share", 4},   {"app", 5},
};

// The folders outside the core whose files must not name a front end either.
const char* const kOutsideFolders[] = {"tools", "bench", "tests"};

// The front ends (platform/linux, platform/windows) implement the contract of services/; their
// services folders are include folders of whatever links them, so "png_codec.h" may mean one.
constexpr const char* kFrontEndPrefix = "platform/";
const char* const kFrontEndIncludeFolders[] = {"platform/linux/services", "platform/windows/services"};

// The front ends' own tests, and the front-end files each may include.
const std::map<std::string, std::string> kFrontEndTests = {
    {"tests/platform/", "platform/"},
    {"tests/windows/", "platform/windows/"},
};

// Headers of a system or third-party library that only a front end may include.
const char* const kPlatformHeaders[] = {"gtk/",  "gdk/",    "glib",      "pango",     "cairo",
                                        "curl/", "png.h",   "windows.h", "winhttp.h", "unistd.h",
                                        "io.h",  "fcntl.h", "sys/"};

bool startsWith(const std::string& text, const std::string& prefix) {
  return text.rfind(prefix, 0) == 0;
}

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

void readFolder(const fs::path& root, const std::string& folder, std::map<std::string, SourceFile>& sources) {
  if (!fs::is_directory(root / folder)) return;
  for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
    const auto extension = entry.path().extension();
    if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp")) continue;
    SourceFile source = readIncludes(root, entry.path());
    sources[source.path] = std::move(source);
  }
}

// The core headers a file includes.
std::set<std::string> coreIncludes(const SourceFile& file) {
  std::set<std::string> reached;
  for (const std::string& target : file.quoted) {
    if (isCore(target)) reached.insert(target);
  }
  return reached;
}

// The file a quoted include names, relative to the root, the way the build finds it: a path from
// the root's front-end folders as written, then next to the including file, then from the root,
// then in a front end's include folder. Empty when none holds it (a generated or system file).
std::string resolveInclude(const fs::path& root, const SourceFile& file, const std::string& target) {
  if (startsWith(target, kFrontEndPrefix)) return target;
  const fs::path besideFile = fs::path(file.path).parent_path() / target;
  std::vector<fs::path> candidates = {besideFile, target};
  for (const char* folder : kFrontEndIncludeFolders) candidates.push_back(fs::path(folder) / target);
  for (const fs::path& candidate : candidates) {
    if (fs::is_regular_file(root / candidate)) return candidate.lexically_normal().generic_string();
  }
  return {};
}

// The front-end files a file may include: none, but for the front ends' own tests.
std::optional<std::string> frontEndAllowed(const std::string& path) {
  for (const auto& [testFolder, frontEnd] : kFrontEndTests) {
    if (startsWith(path, testFolder)) return frontEnd;
  }
  return std::nullopt;
}

}  // namespace

std::map<std::string, SourceFile> readSourceTree(const fs::path& root) {
  std::map<std::string, SourceFile> sources;
  for (const auto& [folder, layer] : kLayers) readFolder(root, folder, sources);
  for (const char* folder : kOutsideFolders) readFolder(root, folder, sources);
  return sources;
}

std::vector<std::string> layerFaults(const std::map<std::string, SourceFile>& sources) {
  std::vector<std::string> faults;
  for (const auto& [path, file] : sources) {
    if (!isCore(path)) continue;
    for (const std::string& target : coreIncludes(file)) {
      if (kLayers.at(folderOf(target)) > kLayers.at(folderOf(path))) faults.push_back(path + " -> " + target);
    }
  }
  return faults;
}

std::vector<std::string> frontEndFaults(const fs::path& root, const std::map<std::string, SourceFile>& sources) {
  std::vector<std::string> faults;
  for (const auto& [path, file] : sources) {
    const std::optional<std::string> allowed = frontEndAllowed(path);
    for (const std::string& target : file.quoted) {
      const std::string resolved = resolveInclude(root, file, target);
      if (!startsWith(resolved, kFrontEndPrefix)) continue;
      if (allowed && startsWith(resolved, *allowed)) continue;
      faults.push_back(path + " -> " + target);
    }
  }
  return faults;
}

std::vector<std::string> platformFaults(const std::map<std::string, SourceFile>& sources) {
  std::vector<std::string> faults;
  for (const auto& [path, file] : sources) {
    if (!isCore(path)) continue;
    if (file.mentionsWin32) faults.push_back(path + " -> _WIN32");
    for (const std::string& target : file.angled) {
      for (const char* header : kPlatformHeaders) {
        if (startsWith(target, header)) faults.push_back(path + " -> <" + target + ">");
      }
    }
  }
  return faults;
}

std::optional<std::string> folderCycle(const std::map<std::string, SourceFile>& sources) {
  std::map<std::string, std::set<std::string>> edges;  // folder -> folders it includes
  for (const auto& [path, file] : sources) {
    if (!isCore(path)) continue;
    for (const std::string& target : coreIncludes(file)) {
      if (folderOf(target) != folderOf(path)) edges[folderOf(path)].insert(folderOf(target));
    }
  }
  // Depth-first search; a folder met again while still on the path closes a cycle.
  std::vector<std::string> trail;
  std::set<std::string> done;
  std::optional<std::string> cycle;
  std::function<void(const std::string&)> visit = [&](const std::string& folder) {
    if (cycle || done.count(folder)) return;
    const auto onTrail = std::find(trail.begin(), trail.end(), folder);
    if (onTrail != trail.end()) {
      cycle = "";
      for (auto it = onTrail; it != trail.end(); ++it) *cycle += *it + " -> ";
      *cycle += folder;
      return;
    }
    trail.push_back(folder);
    for (const std::string& next : edges[folder]) visit(next);
    trail.pop_back();
    done.insert(folder);
  };
  for (const auto& [folder, layer] : kLayers) visit(folder);
  return cycle;
}

}  // namespace orelog::test
