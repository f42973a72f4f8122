// How a hashrate reads on screen and in the share message: KH/s below 1000, else whole MH/s.
#include "game/mining_power.h"

#include "util/utf.h"

namespace orelog {

std::u16string miningPowerText(int32_t khs) {
  if (!readsInMegahashes(khs)) return decimalText(khs) + u" KH/s";
  return decimalText(khs / kKiloPerMega) + u" MH/s";
}

}  // namespace orelog
