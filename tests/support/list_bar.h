// A list scroll bar placed and sized as the shop's and the inventory's are, in a chosen state.
#pragma once
#include <cstdint>

#include "game/items.h"
#include "game/list_layout.h"

namespace orelog::test {

inline ListScrollBar listBar(int32_t x, int32_t rowCount, int32_t firstRow = 0) {
  ListScrollBar bar;
  bar.x = x;
  bar.y = list_layout::kTop;
  bar.height = list_layout::kHeight;
  bar.visibleRows = list_layout::kVisibleRows;
  bar.rowCount = rowCount;
  bar.firstRow = firstRow;
  return bar;
}

}  // namespace orelog::test
