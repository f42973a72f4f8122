// How a list's scroll bar answers the mouse, and its thumb's place.
#pragma once
#include <cstdint>

#include "game/items.h"

namespace orelog {

inline constexpr int32_t kScrollBarWidth = 12;
inline constexpr int32_t kScrollButtonHeight = 12;

// Meaningful only while rowCount > visibleRows.
int32_t thumbLength(const ListScrollBar& bar);
int32_t thumbTop(const ListScrollBar& bar);

// A press on the bar: the end buttons move one row, the track one page, the thumb starts a drag.
// Only a point on the bar of a list longer than it shows does anything.
void pressScrollBar(ListScrollBar& bar, int32_t px, int32_t py);
// While dragging: the thumb follows the mouse's y.
void dragScrollBar(ListScrollBar& bar, int32_t py);
void releaseScrollBar(ListScrollBar& bar);

void addRow(ListScrollBar& bar);
// One row fewer; firstRow moves up when the list would otherwise end above the bar's last row.
void removeRow(ListScrollBar& bar);

}  // namespace orelog
