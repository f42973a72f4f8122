// The one record of the player's profile, connection settings, pool figures and progress.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "profile/pool_directory.h"

namespace orelog {

// Capacities in UTF-16 units including the terminator, as the fields were sized originally.
inline constexpr std::size_t kServerUrlCapacity = 256;
inline constexpr std::size_t kApiKeyCapacity = 256;
inline constexpr std::size_t kPlayerNameCapacity = 64;
// The longest texts the fields hold, the terminator aside.
inline constexpr std::size_t kServerUrlMaxUnits = kServerUrlCapacity - 1;
inline constexpr std::size_t kApiKeyMaxUnits = kApiKeyCapacity - 1;
inline constexpr std::size_t kPlayerNameMaxUnits = kPlayerNameCapacity - 1;
inline constexpr uint32_t kRandomSeed = 5489;
inline constexpr int32_t kSettingsVersion = 3;

struct OwnedItem {
  int32_t itemId = 0;
  int32_t x = -1;  // (-1, -1) marks an unplaced item, kept in the inventory
  int32_t y = -1;
  int32_t width = 0;
  int32_t height = 0;
};

constexpr bool isUnplaced(const OwnedItem& item) { return item.x == -1 && item.y == -1; }

struct PlayerRecord {
  uint32_t lastTick = 0;
  int32_t version = 0;
  std::u16string serverUrl;  // at most kServerUrlMaxUnits units
  std::u16string apiKey;     // at most kApiKeyMaxUnits units
  PoolDirectory poolDirectory = makePoolDirectory();
  int64_t lastTimestamp = 0;  // file-time of the newest transaction already in payout
  std::mt19937 random{kRandomSeed};
  std::vector<int32_t> hashrateSamples;
  std::u16string playerName;  // at most kPlayerNameMaxUnits units; empty = no name yet
  int64_t playTimeMs = 0;
  int32_t level = 0;
  int64_t experience = 0;
  int64_t experienceToNext = 0;
  double coinSpent = 0.0;
  int32_t points = 0;
  std::vector<OwnedItem> items;
  double payout = 0.0;
  // UTF-8 user name -> the pool's figure in KH/s as it was sent (fractions below 1 KH/s matter on a
  // CPU coin; an ASIC's 1e11 is exact), in byte order.
  std::map<std::string, double> workers;
  double balance = 0.0;
  int64_t totalHashrate = 0;  // KH/s: the workers' figures, each truncated toward zero, summed with saturation
  // Members added after the original ones.
  int64_t lastTransactionId = 0;  // MPOS's id of the newest transaction already counted; 0 = none yet
};

// experienceToNext = threshold(level + 1) - experience.
void refreshExperienceToNext(PlayerRecord& record);
// payout + balance - coinSpent, truncated toward zero, never below 0: what the shop may spend.
int32_t availableCoin(const PlayerRecord& record);
// The same sum without the floor at 0, as the top page shows it.
int32_t coinBalance(const PlayerRecord& record);
// The workers' figures as the pool sent them, summed: the mining power the player box, the share
// message, history.csv and the chart show, so that two CPU workers of 0.49 and 0.24 KH/s make 0.73.
// Experience takes totalHashrate, the whole KH/s.
double shownTotalKhs(const PlayerRecord& record);

}  // namespace orelog
