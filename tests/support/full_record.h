// A player record that fills every page, for the composition tests and the page bench.
#pragma once
#include <cstdint>
#include <utility>

#include "profile/catalogue.h"
#include "profile/player_record.h"

namespace orelog::test {

inline constexpr int kFullRecordPlacedItems = 40;
inline constexpr int kFullRecordUnplacedItems = 35;

// Eight workers, one idle and one in each tier; placed items strewn over the canvas and past its
// edges, then unplaced ones that fill the inventory.
inline PlayerRecord fullRecord(int placedItems = kFullRecordPlacedItems) {
  PlayerRecord record;
  record.playerName = u"ベンチ";
  record.level = 42;
  record.experience = 123456789;
  record.experienceToNext = 4321;
  record.payout = 1234.5;
  record.balance = 12.25;
  record.coinSpent = 300;
  record.points = 9876;
  record.playTimeMs = 98765432;
  const std::pair<const char*, int32_t> workers[] = {
      {"miner.a-idle", 0},     {"miner.b-pick", 500},        {"miner.c-helmet", 2000},
      {"miner.d-spade", 4000}, {"miner.e-shovel", 8000},     {"miner.f-drill", 20000},
      {"miner.g-red", 30000},  {"miner.h-excavator", 60000},
  };
  for (const auto& [name, khs] : workers) {
    record.workers[name] = khs;
    record.totalHashrate += khs;
  }
  for (int i = 0; i < placedItems + kFullRecordUnplacedItems; ++i) {
    const int32_t kind = i % kItemKindCount;
    record.items.push_back(i < placedItems ? ownedItemOfKind(kind, -10 + (i * 13) % 520, (i * 29) % 300 - 20)
                                           : ownedItemOfKind(kind));
  }
  return record;
}

}  // namespace orelog::test
