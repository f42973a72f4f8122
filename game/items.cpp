// The shop and the inventory: buying, selling, taking out, and the counts the lists keep.
#include "game/items.h"

#include <algorithm>
#include <cassert>
#include <limits>

#include "game/scroll_bar.h"
#include "profile/catalogue.h"

namespace orelog {

namespace {

using list_layout::kGridCellWidth;
using list_layout::kGridColumns;

// A list's scroll bar stands against the right edge of its list, as tall as the list.
ListScrollBar makeListBar(const Rect& list, int32_t rowCount) {
  ListScrollBar bar;
  bar.x = list.x + list.width;
  bar.y = list.y;
  bar.height = list.height;
  bar.rowCount = rowCount;
  bar.visibleRows = list_layout::kVisibleRows;
  return bar;
}

int32_t clampedCount(std::size_t count) {
  return static_cast<int32_t>(std::min<std::size_t>(count, std::numeric_limits<int32_t>::max()));
}

// The list row under a point of a list, counted from the bar's first visible row.
int64_t rowAt(const Rect& list, const ListScrollBar& bar, int32_t py) {
  return (int64_t{py} - list.y) / list_layout::kRowHeight + bar.firstRow;
}

// The index in record.items of the n-th unplaced item (from 0), in list order.
std::optional<std::size_t> nthUnplacedItem(const PlayerRecord& record, int64_t n) {
  if (n < 0) return std::nullopt;
  for (std::size_t i = 0; i < record.items.size(); ++i) {
    if (!isUnplaced(record.items[i])) continue;
    if (n == 0) return i;
    --n;
  }
  return std::nullopt;
}

void holdCentredOn(ItemMotion& motion, OwnedItem& item, std::size_t index, int32_t px, int32_t py) {
  item.x = px - item.width / 2;
  item.y = py - item.height / 2;
  motion.grabOffsetX = item.width / 2;
  motion.grabOffsetY = item.height / 2;
  motion.heldItem = index;
}

std::optional<std::size_t> indexAfterRemoval(std::optional<std::size_t> index, std::size_t removed) {
  if (!index || *index < removed) return index;
  if (*index == removed) return std::nullopt;
  return *index - 1;
}

}  // namespace

void initItemsState(ItemsState& state, const PlayerRecord& record) {
  const auto unplaced = std::count_if(record.items.begin(), record.items.end(), isUnplaced);
  state = ItemsState{};
  state.unplacedCount = clampedCount(static_cast<std::size_t>(unplaced));
  const int64_t gridRows = (int64_t{state.unplacedCount} + kGridColumns - 1) / kGridColumns;
  state.itemsBar = makeListBar(item_areas::kItemsGrid, static_cast<int32_t>(gridRows));
  state.buyBar = makeListBar(item_areas::kBuyList, kItemKindCount);
  state.sellBar = makeListBar(item_areas::kSellList, clampedCount(record.items.size()));
}

void changeUnplacedCount(ItemsState& state, int32_t delta) {
  assert((delta == 1 || delta == -1) && "the inventory gains or loses one item at a time");
  state.unplacedCount = std::max(state.unplacedCount + delta, 0);
  // A sixth, eleventh, ... item opens a new grid row; the fifth, tenth, ... closes the last one.
  if (delta > 0 && state.unplacedCount % kGridColumns == 1) addRow(state.itemsBar);
  if (delta < 0 && state.unplacedCount % kGridColumns == 0) removeRow(state.itemsBar);
}

void forgetRemovedItem(ItemMotion& motion, std::size_t removed) {
  motion.heldItem = indexAfterRemoval(motion.heldItem, removed);
  motion.flyingItem = indexAfterRemoval(motion.flyingItem, removed);
}

bool buyAt(PlayerRecord& record, ItemsState& state, int32_t px, int32_t py) {
  if (!contains(item_areas::kBuyList, px, py)) return false;
  const int64_t kind = rowAt(item_areas::kBuyList, state.buyBar, py);
  if (!isItemKind(kind)) return false;
  const auto kindIndex = static_cast<int32_t>(kind);
  const int32_t price = itemPrice(kindIndex);
  if (availableCoin(record) < price) return false;
  record.coinSpent += price;
  record.items.push_back(ownedItemOfKind(kindIndex));
  addRow(state.sellBar);
  changeUnplacedCount(state, +1);
  return true;
}

bool sellAt(PlayerRecord& record, ItemsState& state, int32_t px, int32_t py) {
  if (!contains(item_areas::kSellList, px, py)) return false;
  const int64_t row = rowAt(item_areas::kSellList, state.sellBar, py);
  if (row < 0 || static_cast<uint64_t>(row) >= record.items.size()) return false;
  const auto index = static_cast<std::size_t>(row);
  const OwnedItem sold = record.items[index];
  if (isItemKind(sold.itemId)) record.coinSpent -= itemSalePrice(sold.itemId);
  record.items.erase(record.items.begin() + static_cast<std::ptrdiff_t>(index));
  forgetRemovedItem(state.motion, index);
  removeRow(state.sellBar);
  if (isUnplaced(sold)) changeUnplacedCount(state, -1);
  return true;
}

std::optional<std::size_t> inventoryItemAt(const PlayerRecord& record, const ItemsState& state, int32_t px,
                                           int32_t py) {
  if (!contains(item_areas::kItemsGrid, px, py)) return std::nullopt;
  const int64_t cell = rowAt(item_areas::kItemsGrid, state.itemsBar, py) * kGridColumns +
                       (int64_t{px} - item_areas::kItemsGrid.x) / kGridCellWidth;
  return nthUnplacedItem(record, cell);
}

void takeFromInventory(PlayerRecord& record, ItemsState& state, std::size_t index, int32_t px, int32_t py) {
  assert(!state.motion.heldItem && "the item in the hand is dropped before another is taken");
  assert(index < record.items.size() && isUnplaced(record.items[index]) && "taken from the inventory");
  holdCentredOn(state.motion, record.items[index], index, px, py);
  changeUnplacedCount(state, -1);
}

}  // namespace orelog
