// A temporary folder that lives as long as the test that made it.
#pragma once
#include <stdlib.h>

#include <filesystem>
#include <string>

namespace orelog::testing {

struct TempFolder {
  std::filesystem::path path;

  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orelog-canvas-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) path = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove_all(path, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string file(const std::string& name) const { return (path / name).string(); }
};

}  // namespace orelog::testing
