// Loading and saving the persistent part of the player record as config.json.
#pragma once
#include <cstdint>
#include <filesystem>

#include "profile/player_record.h"

namespace orelog {

inline constexpr const char* kSettingsFileName = "config.json";

// Reads the file; on any fault applies the defaults and returns false (nothing is shown).
// nowTick is the millisecond tick counter at load time; play time counts from it.
bool loadSettings(PlayerRecord& record, const std::filesystem::path& file, uint32_t nowTick);
// Writes the whole file atomically; false when a number is not finite or the file cannot be written,
// in which case the old file is left as it was.
bool saveSettings(const PlayerRecord& record, const std::filesystem::path& file);

}  // namespace orelog
