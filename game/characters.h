// The workers shown as characters on the top page, and the slots they are built into.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "profile/player_record.h"

namespace orelog {

inline constexpr int kMaxCharacterSlots = 8;
// How far apart the characters stand on a shelf.
inline constexpr int32_t kCharacterCellStepX = 74;

struct CharacterSlot {
  double hashrate = 0;  // the pool's figure in KH/s
  std::u16string displayName;  // at most 63 units
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 44;
  int32_t height = 40;
};

// A worker as the game names it wherever a name is shown: the part of its user name after the first
// "." ("alice.rig1" shows as "rig1"), or the whole name. Where that leaves nothing (a name longer
// than a character's 63 units, one ending in "."), the pool's whole name, cut to 63 units with "…".
std::u16string workerDisplayName(std::string_view userName);

// The workers that have characters: the first eight by name.
std::map<std::string, double> shownWorkers(const std::map<std::string, double>& workers);

// Replaces the slots with the shown workers, in name order.
void rebuildCharacterSlots(std::vector<CharacterSlot>& slots, const PlayerRecord& record);

}  // namespace orelog
