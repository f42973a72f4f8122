// A fresh folder under the system's temporary directory, removed with everything in it at the end.
#pragma once
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace orelog::test {

struct TempFolder {
  std::filesystem::path path;

  TempFolder() {
    std::random_device entropy;
    path = std::filesystem::temp_directory_path() / ("orelog-pool-" + std::to_string(entropy()));
    std::filesystem::create_directories(path);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

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
