// Items and the shop: buying, selling, taking out, dragging, dropping, falling and flying back.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

#include "game/list_layout.h"
#include "profile/player_record.h"
#include "util/geometry.h"

namespace orelog {

// A list's scroll bar; always 12 pixels wide.
struct ListScrollBar {
  int32_t x = 0;
  int32_t y = 0;
  int32_t height = 0;
  int32_t firstRow = 0;
  int32_t rowCount = 0;
  int32_t visibleRows = 0;
  bool dragging = false;
  int32_t dragStartY = 0;
  int32_t dragStartRow = 0;
};

// The dragged item and the item flying back to the inventory, as indexes into record.items
// (kept valid when items are removed).
struct ItemMotion {
  std::optional<std::size_t> heldItem;
  int32_t grabOffsetX = 0;
  int32_t grabOffsetY = 0;
  std::optional<std::size_t> flyingItem;
  int32_t flightStartX = 0;
  int32_t flightStartY = 0;
  int32_t flightRadius = 0;
};

// Everything the item operations keep beside the player record.
struct ItemsState {
  ItemMotion motion;
  ListScrollBar itemsBar;
  ListScrollBar buyBar;
  ListScrollBar sellBar;
  int32_t unplacedCount = 0;
};

// Where the lists of the shop and items pages lie.
namespace item_areas {
inline constexpr Rect kBuyList{37, list_layout::kTop, 178, list_layout::kHeight};
inline constexpr Rect kSellList{257, list_layout::kTop, 178, list_layout::kHeight};
inline constexpr Rect kItemsGrid{37, list_layout::kTop, list_layout::kGridWidth, list_layout::kHeight};
}  // namespace item_areas

// Sets up the three scroll bars and the unplaced count from the record.
void initItemsState(ItemsState& state, const PlayerRecord& record);

// Keeps the items grid's row count in step with a change of the unplaced count by +1 or -1.
void changeUnplacedCount(ItemsState& state, int32_t delta);
// Fixes the motion indexes after record.items lost the element at `removed`.
void forgetRemovedItem(ItemMotion& motion, std::size_t removed);

// Shop and inventory. A purchase or a sale returns true; it changed the saved part of the record.
bool buyAt(PlayerRecord& record, ItemsState& state, int32_t px, int32_t py);
bool sellAt(PlayerRecord& record, ItemsState& state, int32_t px, int32_t py);

// The unplaced item under a grid cell of the items page, as an index into record.items.
std::optional<std::size_t> inventoryItemAt(const PlayerRecord& record, const ItemsState& state, int32_t px,
                                           int32_t py);
// Takes that item out and holds it centred on the point. The hand must be empty: an item still
// held from the top page is dropped first (a save point), so only one item is ever in the hand.
void takeFromInventory(PlayerRecord& record, ItemsState& state, std::size_t index, int32_t px, int32_t py);

// The top page: a press drops the dragged item or picks up the placed item under it. True when
// an item was dropped, which changed the saved part of the record.
bool pressTopPage(PlayerRecord& record, ItemsState& state, int32_t px, int32_t py);
// Drops the dragged item: it stays when its bottom strip overlaps the drop zone, otherwise it
// flies back to the inventory. False when no item was held.
bool dropHeldItem(PlayerRecord& record, ItemsState& state);
// The grab point stays under the mouse, wherever that takes the item.
void moveHeldItem(PlayerRecord& record, ItemsState& state, int32_t px, int32_t py);

// Animation steps: placed items fall onto the next shelf line; the flying item flies on.
bool fallStep(PlayerRecord& record, const ItemsState& state);    // true when an item moved
bool flightStep(const PlayerRecord& record, ItemsState& state);  // true when a flight moved or ended
// Items fly back to the inventory toward this point, the items tab.
inline constexpr Point kFlightTarget{156, 75};
// The flight's straight line: the flying item's centre at the flight start minus the target, and
// that distance truncated.
struct FlightLine {
  int64_t dx = 0;
  int64_t dy = 0;
  int64_t distance = 0;
};
FlightLine flightLine(const ItemMotion& motion, const OwnedItem& item);
// Where the flying item is drawn: flightRadius pixels along its line toward the target. A flight
// that starts on the target is drawn at its start.
Point flyingItemPosition(const ItemMotion& motion, const OwnedItem& item);

}  // namespace orelog
