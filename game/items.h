// Items and the shop: buying, selling, taking out, dragging, dropping, falling and flying back.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

#include "profile/player_record.h"

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

// Sets up the three scroll bars and the unplaced count from the record.
void initItemsState(ItemsState& state, const PlayerRecord& record);

}  // namespace orelog
