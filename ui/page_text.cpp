// The number and mining-power formats the pages show.
#include <cstdio>
#include <string>

#include "ui/pages.h"
#include "util/time_units.h"

namespace orelog {

std::u16string coinText(int64_t value) { return decimalText(value) + u" PCC"; }

std::u16string playTimeText(int64_t playTimeMs) {
  // A negative play time can only come from an edited settings file; it reads as none.
  const int64_t seconds = playTimeMs > 0 ? playTimeMs / kMsPerSecond : 0;
  const long long hours = seconds / kSecondsPerHour;
  const int minutes = static_cast<int>(seconds % kSecondsPerHour / kSecondsPerMinute);
  const int secs = static_cast<int>(seconds % kSecondsPerMinute);
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%02lld:%02d:%02d", hours, minutes, secs);
  return asciiText(buffer);
}

std::u16string_view displayedPlayerName(const PlayerRecord& record) {
  if (record.playerName.empty()) return u"名無しさん";
  return record.playerName;
}

}  // namespace orelog
