// How a list's scroll bar answers the mouse, and its thumb's place.
#include "game/scroll_bar.h"

#include <algorithm>

namespace orelog {

namespace {

int32_t lastFirstRow(const ListScrollBar& bar) { return std::max(bar.rowCount - bar.visibleRows, 0); }

void clampFirstRow(ListScrollBar& bar) { bar.firstRow = std::clamp(bar.firstRow, 0, lastFirstRow(bar)); }

bool scrolls(const ListScrollBar& bar) { return bar.rowCount > bar.visibleRows; }

// The pixels the thumb can travel between the two end buttons.
int64_t thumbTravel(const ListScrollBar& bar) {
  return int64_t{bar.height} - 2 * kScrollButtonHeight - thumbLength(bar);
}

}  // namespace

int32_t thumbLength(const ListScrollBar& bar) {
  if (bar.rowCount <= 0) return 0;
  const int64_t inner = int64_t{bar.height} - 2 * kScrollButtonHeight;
  return static_cast<int32_t>(inner * bar.visibleRows / bar.rowCount);
}

int32_t thumbTop(const ListScrollBar& bar) {
  const int64_t rowsBeyond = lastFirstRow(bar);
  const int64_t offset = rowsBeyond > 0 ? thumbTravel(bar) * bar.firstRow / rowsBeyond : 0;
  return static_cast<int32_t>(bar.y + offset + kScrollButtonHeight);
}

void pressScrollBar(ListScrollBar& bar, int32_t px, int32_t py) {
  const bool onBar = bar.x <= px && px < int64_t{bar.x} + kScrollBarWidth && bar.y <= py &&
                     py < int64_t{bar.y} + bar.height;
  if (!onBar || !scrolls(bar)) return;
  const int32_t top = thumbTop(bar);
  if (py < bar.y + kScrollButtonHeight) {
    bar.firstRow -= 1;
  } else if (py >= bar.y + bar.height - kScrollButtonHeight) {
    bar.firstRow += 1;
  } else if (py < top) {
    bar.firstRow -= bar.visibleRows;
  } else if (py >= top + thumbLength(bar)) {
    bar.firstRow += bar.visibleRows;
  } else {
    bar.dragging = true;
    bar.dragStartY = py;
    bar.dragStartRow = bar.firstRow;
    return;
  }
  clampFirstRow(bar);
}

void dragScrollBar(ListScrollBar& bar, int32_t py) {
  if (!bar.dragging) return;
  const int64_t travel = thumbTravel(bar);
  // A list that shrank to fit during the drag (a sale) has nothing left to scroll.
  if (!scrolls(bar) || travel <= 0) {
    clampFirstRow(bar);
    return;
  }
  const int64_t moved = int64_t{lastFirstRow(bar)} * (int64_t{py} - bar.dragStartY) / travel;
  const int64_t row = std::clamp<int64_t>(bar.dragStartRow + moved, 0, lastFirstRow(bar));
  bar.firstRow = static_cast<int32_t>(row);
}

void releaseScrollBar(ListScrollBar& bar) { bar.dragging = false; }

void addRow(ListScrollBar& bar) {
  if (bar.rowCount < INT32_MAX) bar.rowCount += 1;
}

void removeRow(ListScrollBar& bar) {
  bar.rowCount = std::max(bar.rowCount - 1, 0);
  if (bar.rowCount - bar.visibleRows < bar.firstRow) bar.firstRow = lastFirstRow(bar);
}

}  // namespace orelog
