// Building the character slots of the top page from the pool's worker list.
#include "game/characters.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string_view>
#include <utility>

#include "util/utf.h"

namespace orelog {

namespace {

// A worker's name is converted into a 64-unit field; a longer one is shown as its pool name, cut.
constexpr std::size_t kDisplayNameCapacity = 64;
constexpr int32_t kFirstCellX = 60;
constexpr int32_t kFirstCellY = 166;
constexpr int32_t kCellStepY = 58;
constexpr int kCellsPerRow = 4;
constexpr std::u16string_view kEllipsis = u"…";

// The part after the first "." of a name that fits the field, or the whole of it; empty when the
// name does not fit.
std::u16string shortName(std::string_view userName) {
  const auto converted = utf8ToUtf16Field(userName, kDisplayNameCapacity);
  if (!converted) return {};
  const std::size_t dot = converted->find(u'.');
  if (dot == std::u16string::npos) return *converted;
  return converted->substr(dot + 1);
}

// The pool's whole name, cut to the field with "…" at its end when it is longer.
std::u16string cutPoolName(std::string_view userName) {
  const std::u16string whole = utf8ToUtf16(userName);
  if (whole.size() < kDisplayNameCapacity) return whole;
  return truncateUtf16(whole, kDisplayNameCapacity - 1 - kEllipsis.size()) + std::u16string(kEllipsis);
}

}  // namespace

std::u16string workerDisplayName(std::string_view userName) {
  std::u16string name = shortName(userName);
  return name.empty() ? cutPoolName(userName) : name;
}

std::map<std::string, double> shownWorkers(const std::map<std::string, double>& workers) {
  const auto count = std::min<std::size_t>(workers.size(), kMaxCharacterSlots);
  return {workers.begin(), std::next(workers.begin(), static_cast<std::ptrdiff_t>(count))};
}

void rebuildCharacterSlots(std::vector<CharacterSlot>& slots, const PlayerRecord& record) {
  slots.clear();
  for (const auto& [userName, hashrate] : shownWorkers(record.workers)) {
    const int index = static_cast<int>(slots.size());
    CharacterSlot slot;
    slot.hashrate = hashrate;
    slot.displayName = workerDisplayName(userName);
    slot.x = kFirstCellX + kCharacterCellStepX * (index % kCellsPerRow);
    slot.y = kFirstCellY + kCellStepY * (index / kCellsPerRow);
    slots.push_back(std::move(slot));
  }
}

}  // namespace orelog
