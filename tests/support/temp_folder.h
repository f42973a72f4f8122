// A fresh folder under the system's temporary directory, removed with everything in it at the end.
#pragma once
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace orelog::test {

struct TempFolder {
  std::filesystem::path path;

  // `prefix` names the folder, so a left-over one shows which tests made it.
  explicit TempFolder(std::string_view prefix = "orelog-test") {
    std::string pattern = (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a folder like " + pattern);
    path = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::filesystem::path file(std::string_view name) const { return path / name; }

  // Written whole under a temporary name, then renamed, so a reader never sees half a file.
  std::filesystem::path write(const std::string& name, std::string_view bytes) const {
    const auto target = path / name;
    const auto partial = path / (name + ".partial");
    std::ofstream(partial, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    std::filesystem::rename(partial, target);
    return target;
  }
};

}  // namespace orelog::test
