// The player record's derived values: experience still needed, the coin that can be spent and the
// mining power shown.
#include "profile/player_record.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "profile/level_threshold.h"
#include "util/numeric.h"

namespace orelog {

void refreshExperienceToNext(PlayerRecord& record) {
  // A level at the 32-bit ceiling has no next level; its threshold is the largest there is.
  const int32_t next = record.level < INT32_MAX ? record.level + 1 : INT32_MAX;
  // The experience can come from a hand-edited file; keep the difference inside 64 bits.
  record.experienceToNext = saturatingSubtract64(levelThreshold(next), record.experience);
}

int32_t coinBalance(const PlayerRecord& record) {
  return truncateToInt32(record.payout + record.balance - record.coinSpent);
}

int32_t availableCoin(const PlayerRecord& record) { return std::max(coinBalance(record), 0); }

double shownTotalKhs(const PlayerRecord& record) {
  // Held within the finite range, so that no pair of huge figures makes an infinity or nothing.
  constexpr double kMost = std::numeric_limits<double>::max();
  double total = 0.0;
  for (const auto& worker : record.workers) total = std::clamp(total + worker.second, -kMost, kMost);
  return total;
}

}  // namespace orelog
