// Items on the top page: picking up, dragging, dropping, falling onto a shelf, flying home.
#include <algorithm>
#include <cmath>
#include <limits>

#include "game/items.h"
#include "util/numeric.h"

namespace orelog {

namespace {

// The room above the shelves: an item is dropped when its bottom row overlaps it.
constexpr Rect kDropZone{32, 106, 317, 155};
// Items fall from below the tab bar down to the next of these lines (the shelves and the floor).
constexpr int32_t kFallTop = 87;
constexpr int32_t kShelfLines[] = {152, 203, 261};
constexpr int32_t kFallSpeed = 4;      // pixels per animation tick
constexpr int32_t kFlightSpeed = 32;   // pixels per animation tick

// Half-open like every hit test, in 64 bits so that no stored position can overflow.
bool itemContains(const OwnedItem& item, int32_t px, int32_t py) {
  return item.x <= px && px < int64_t{item.x} + item.width && item.y <= py &&
         py < int64_t{item.y} + item.height;
}

bool bottomStripOverlapsDropZone(const OwnedItem& item) {
  const int64_t stripTop = int64_t{item.y} + item.height - 1;
  return item.x < int64_t{kDropZone.x} + kDropZone.width && kDropZone.x < int64_t{item.x} + item.width &&
         stripTop < int64_t{kDropZone.y} + kDropZone.height && kDropZone.y < stripTop + 1;
}

void startFlightHome(ItemsState& state, OwnedItem& item, std::size_t index) {
  ItemMotion& motion = state.motion;
  motion.flyingItem = index;
  motion.flightStartX = item.x;
  motion.flightStartY = item.y;
  motion.flightRadius = 0;
  item.x = -1;
  item.y = -1;
  changeUnplacedCount(state, +1);
}

void pickUpItemAt(PlayerRecord& record, ItemMotion& motion, int32_t px, int32_t py) {
  for (std::size_t i = 0; i < record.items.size(); ++i) {
    const OwnedItem& item = record.items[i];
    if (isUnplaced(item) || !itemContains(item, px, py)) continue;
    motion.heldItem = i;
    motion.grabOffsetX = saturateToInt32(int64_t{px} - item.x);
    motion.grabOffsetY = saturateToInt32(int64_t{py} - item.y);
    return;
  }
}

// The next shelf line below a bottom edge that hangs between two lines, if any.
std::optional<int32_t> lineBelow(int64_t bottom) {
  int64_t above = kFallTop;
  for (const int32_t line : kShelfLines) {
    if (above < bottom && bottom < line) return line;
    above = line;
  }
  return std::nullopt;
}

}  // namespace

bool dropHeldItem(PlayerRecord& record, ItemsState& state) {
  const auto index = state.motion.heldItem;
  state.motion.heldItem.reset();
  if (!index || *index >= record.items.size()) return false;
  OwnedItem& item = record.items[*index];
  if (bottomStripOverlapsDropZone(item)) {
    // An item wider than 33 pixels can overlap the zone from left of the canvas (down to
    // x = -13 for the widest kind); it is set down at the edge, where the top page shows it, a
    // press can pick it up again and (-1, -1) cannot make it read as unplaced.
    item.x = std::max(item.x, 0);
  } else {
    startFlightHome(state, item, *index);
  }
  return true;
}

bool pressTopPage(PlayerRecord& record, ItemsState& state, int32_t px, int32_t py) {
  if (state.motion.heldItem) return dropHeldItem(record, state);
  pickUpItemAt(record, state.motion, px, py);
  return false;
}

void moveHeldItem(PlayerRecord& record, ItemsState& state, int32_t px, int32_t py) {
  const ItemMotion& motion = state.motion;
  if (!motion.heldItem || *motion.heldItem >= record.items.size()) return;
  OwnedItem& item = record.items[*motion.heldItem];
  item.x = saturateToInt32(int64_t{px} - motion.grabOffsetX);
  item.y = saturateToInt32(int64_t{py} - motion.grabOffsetY);
}

bool fallStep(PlayerRecord& record, const ItemsState& state) {
  bool moved = false;
  for (std::size_t i = 0; i < record.items.size(); ++i) {
    if (state.motion.heldItem == i) continue;
    OwnedItem& item = record.items[i];
    const int64_t bottom = int64_t{item.y} + item.height;
    const auto line = lineBelow(bottom);
    if (!line) continue;
    const auto step = static_cast<int32_t>(std::min<int64_t>(kFallSpeed, *line - bottom));
    item.y += step;
    moved = moved || step != 0;
  }
  return moved;
}

FlightLine flightLine(const ItemMotion& motion, const OwnedItem& item) {
  FlightLine line;
  line.dx = int64_t{motion.flightStartX} + item.width / 2 - kFlightTarget.x;
  line.dy = int64_t{motion.flightStartY} + item.height / 2 - kFlightTarget.y;
  // In floating point: squares of far-off positions would not fit 64 bits.
  const double squared = static_cast<double>(line.dx) * line.dx + static_cast<double>(line.dy) * line.dy;
  line.distance = static_cast<int64_t>(std::sqrt(squared));
  return line;
}

Point flyingItemPosition(const ItemMotion& motion, const OwnedItem& item) {
  const FlightLine line = flightLine(motion, item);
  // Dropped with its centre right on the target: nowhere to fly, so it shows where it was let go.
  if (line.distance == 0) return {motion.flightStartX, motion.flightStartY};
  const int64_t r = motion.flightRadius;
  return {saturateToInt32(motion.flightStartX - r * line.dx / line.distance),
          saturateToInt32(motion.flightStartY - r * line.dy / line.distance)};
}

bool flightStep(const PlayerRecord& record, ItemsState& state) {
  ItemMotion& motion = state.motion;
  if (!motion.flyingItem) return false;
  if (*motion.flyingItem >= record.items.size()) {
    motion.flyingItem.reset();
    return true;
  }
  motion.flightRadius = saturateToInt32(int64_t{motion.flightRadius} + kFlightSpeed);
  if (flightLine(motion, record.items[*motion.flyingItem]).distance <= motion.flightRadius) {
    motion.flyingItem.reset();
  }
  return true;
}

}  // namespace orelog
