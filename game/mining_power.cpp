// How a hashrate reads on screen and in the share message, and how fast a character digs for it.
#include "game/mining_power.h"

#include <array>

#include "util/hashrate.h"
#include "util/utf.h"

namespace orelog {
namespace {

// Each unit a thousand times the one before.
constexpr std::array<PowerUnit, 5> kUnits{{{u"KH/s", 1},
                                           {u"MH/s", 1'000},
                                           {u"GH/s", 1'000'000},
                                           {u"TH/s", 1'000'000'000},
                                           {u"PH/s", 1'000'000'000'000}}};
// KH/s reads up to three digits; the larger units up to four, but for the last.
constexpr int64_t kLeastLargeUnitKhs = 1000;
constexpr int64_t kFourDigitLimit = 10000;

}  // namespace

PowerUnit powerUnitOf(int64_t khs) {
  if (khs < kLeastLargeUnitKhs) return kUnits.front();
  std::size_t unit = 1;
  while (khs / kUnits[unit].khs >= kFourDigitLimit && unit + 1 < kUnits.size()) ++unit;
  return kUnits[unit];
}

std::u16string miningPowerText(double khs) {
  const int64_t whole = wholeKhs(khs);
  const PowerUnit unit = powerUnitOf(whole);
  const std::u16string figure = unit.khs == 1 ? utf8ToUtf16(khsFigureText(khs)) : decimalText(whole / unit.khs);
  return figure + u" " + std::u16string(unit.caption);
}

int64_t diggingKhs(double khs) { return isBelowOneKhs(khs) ? 1 : wholeKhs(khs); }

}  // namespace orelog
