// Loading and saving the persistent part of the player record as config.json.
#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "profile/player_record.h"

namespace orelog {

inline constexpr const char* kSettingsFileName = "config.json";
// Texts are saved through a 256-byte buffer that holds the terminator too: a longer UTF-8 form
// (possible only with characters outside ASCII) is cut on a character boundary.
inline constexpr std::size_t kSavedTextMaxBytes = 255;

// Why the program must run without saving: a save would destroy the only copy of the player's
// progress, or could never be written.
enum class SavesOff {
  No,
  DamagedNotKeptAside,  // the file was damaged and no copy of it could be kept aside
  Unreadable,           // the file exists but cannot be read (its owner or permissions, or a lock)
  TooLargeToSave,       // the record loaded, but its text would be larger than a load accepts
};

// What a load found. A file that was not read cleanly is first kept aside as "<name>.broken"
// (replacing an older copy) or, when that name is taken by anything but an older copy, as
// "<name>.broken-2" up to "<name>.broken-9", so the player's progress can be recovered by hand.
struct SettingsLoad {
  bool loaded = false;  // the file was read without fault; else the defaults apply
  SavesOff savesOff = SavesOff::No;
  bool savesAllowed() const { return savesOff == SavesOff::No; }
  explicit operator bool() const { return loaded; }
};

// Reads the file; on any fault applies the defaults (nothing is shown).
// nowTick is the millisecond tick counter at load time; play time counts from it.
SettingsLoad loadSettings(PlayerRecord& record, const std::filesystem::path& file, uint32_t nowTick);
// Writes the whole file atomically; false when a number is not finite, the text would be larger
// than a load accepts, or the file cannot be written, in which case the old file is left as it was.
bool saveSettings(const PlayerRecord& record, const std::filesystem::path& file);

}  // namespace orelog
