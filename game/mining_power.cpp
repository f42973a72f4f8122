// How a hashrate reads on screen and in the share message, and how fast a character digs for it.
#include "game/mining_power.h"

#include <array>
#include <utility>

#include "util/hashrate.h"
#include "util/utf.h"

namespace orelog {
namespace {

// The larger units, each a thousand times the one before; a whole figure keeps at most four digits
// in any but the last.
constexpr std::array<const char16_t*, 4> kLargeUnits{u" MH/s", u" GH/s", u" TH/s", u" PH/s"};
constexpr int64_t kFourDigitLimit = 10000;

}  // namespace

std::u16string miningPowerText(double khs) {
  if (!readsInMegahashes(wholeKhs(khs))) return utf8ToUtf16(khsFigureText(khs)) + u" KH/s";
  int64_t whole = wholeKhs(khs) / kKiloPerMega;
  std::size_t unit = 0;
  while (whole >= kFourDigitLimit && unit + 1 < kLargeUnits.size()) {
    whole /= kKiloPerMega;
    ++unit;
  }
  return decimalText(whole) + kLargeUnits[unit];
}

int64_t diggingKhs(double khs) { return isBelowOneKhs(khs) ? 1 : wholeKhs(khs); }

}  // namespace orelog
