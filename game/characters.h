// The workers shown as characters on the top page, and the slots they are built into.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "profile/player_record.h"

namespace orelog {

inline constexpr int kMaxCharacterSlots = 8;

struct CharacterSlot {
  int32_t hashrate = 0;  // KH/s
  std::u16string displayName;  // at most 63 units
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 44;
  int32_t height = 40;
};

// Replaces the slots with the first eight workers in name order.
void rebuildCharacterSlots(std::vector<CharacterSlot>& slots, const PlayerRecord& record);

}  // namespace orelog
