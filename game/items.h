// Items and the shop: buying, selling, taking out, dragging, dropping, falling and flying back.
#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
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

// Shop and inventory; each returns true when it changed something. Purchases and sales save.
bool buyAt(PlayerRecord& record, ItemsState& state, int32_t px, int32_t py,
           const std::filesystem::path& settingsFile);
bool sellAt(PlayerRecord& record, ItemsState& state, int32_t px, int32_t py,
            const std::filesystem::path& settingsFile);
// Takes the unplaced item under the grid cell and holds it centred on the point. An item still
// held from an earlier pick-up is dropped first, so only one item is ever in the hand.
bool takeFromInventory(PlayerRecord& record, ItemsState& state, int32_t px, int32_t py,
                       const std::filesystem::path& settingsFile);

// The top page: a press drops the dragged item (and saves) or picks up the placed item under it.
void pressTopPage(PlayerRecord& record, ItemsState& state, int32_t px, int32_t py,
                  const std::filesystem::path& settingsFile);
// Drops the dragged item: it stays when its bottom strip overlaps the drop zone, otherwise it
// flies back to the inventory. Saves the record.
void dropHeldItem(PlayerRecord& record, ItemsState& state, const std::filesystem::path& settingsFile);
// The grab point stays under the mouse; the item never leaves the canvas at its left edge.
void moveHeldItem(PlayerRecord& record, ItemsState& state, int32_t px, int32_t py);

// Animation steps: placed items fall onto the next shelf line; the flying item flies on.
void fallStep(PlayerRecord& record, const ItemsState& state);
void flightStep(const PlayerRecord& record, ItemsState& state);
// The flying item's distance from the target when its flight began, truncated.
int64_t flightDistance(const ItemMotion& motion, const OwnedItem& item);

}  // namespace orelog
