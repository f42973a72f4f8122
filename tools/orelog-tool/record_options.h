// The options of the commands that show the record (render, share-link) or its history, and bringing
// the record up to date the way the game does before it shows anything.
#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "commands.h"
#include "profile/player_record.h"
#include "tool_platform.h"

namespace orelog::tool {

struct RecordOptions {
  int cycles = 0;                     // --cycles N
  uint64_t frame = 0;                 // --frame F
  std::optional<std::size_t> hover;   // --hover I
};

// Pictures without their texts: the same pixels on every platform, whatever fonts it has.
inline constexpr const char* kNoTextFlag = "--no-text";

// Removes the flag from the arguments; true when it was there.
bool takeFlag(Args& args, const char* flag);

// A whole number from least to most written in decimal digits alone; nullopt otherwise.
std::optional<int> wholeNumberIn(const std::string& text, int least, int most);

// Reads "--name value" pairs from args[first] on; nullopt on an unknown or repeated option, a
// missing value, or a value that is not a whole number in range. allowScreen admits --frame and
// --hover besides --cycles.
std::optional<RecordOptions> readRecordOptions(const Args& args, std::size_t first, bool allowScreen);

// Loads config.json from the current folder (defaults when it is missing); gives the file to save
// to, or nullopt (said on standard error) when the file is damaged and could not be kept aside.
std::optional<std::filesystem::path> loadRecordForSaving(PlayerRecord& record, ToolPlatform& platform);

// Loads config.json from the current folder (defaults when it is missing) and runs the update
// cycles; false as soon as one fails (its message is on standard error).
bool loadAndUpdate(PlayerRecord& record, ToolPlatform& platform, int cycles);

}  // namespace orelog::tool
