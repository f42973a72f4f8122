// How a hashrate reads on screen and in the share message: KH/s below 1000, else whole MH/s.
#include "game/mining_power.h"

#include "util/utf.h"

namespace orelog {

std::u16string miningPowerText(int32_t khs) {
  if (!readsInMegahashes(khs)) return utf8ToUtf16(std::to_string(khs)) + u" KH/s";
  return utf8ToUtf16(std::to_string(khs / kKiloPerMega)) + u" MH/s";
}

}  // namespace orelog
