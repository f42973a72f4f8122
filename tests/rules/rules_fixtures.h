// Helpers shared by the game-rule tests: owned items of a kind, a temporary settings folder.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "game/catalogue.h"
#include "profile/player_record.h"

namespace orelog::testing {

inline OwnedItem itemOfKind(int32_t kind, int32_t x = -1, int32_t y = -1) {
  const SpriteRegion picture = itemRegion(kind);
  return OwnedItem{kind, x, y, picture.width, picture.height};
}

// A folder of its own under the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() / ("orelog-rules-" + std::to_string(seed()));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::filesystem::path file(const char* name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

}  // namespace orelog::testing
