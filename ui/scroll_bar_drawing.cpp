// Drawing a list scroll bar: track, the two end buttons and the thumb.
#include <algorithm>

#include "game/scroll_bar.h"
#include "ui/draw.h"
#include "ui/pages.h"
#include "ui/palette.h"

namespace orelog {

ScrollThumb scrollThumb(const ListScrollBar& bar) {
  // The same thumb the mouse presses against, with firstRow held inside its range so that a
  // stale value can never draw the thumb over the end buttons.
  ListScrollBar inRange = bar;
  inRange.firstRow = std::clamp(bar.firstRow, 0, std::max(bar.rowCount - bar.visibleRows, 0));
  return {thumbTop(inRange), thumbLength(inRange)};
}

void drawListScrollBar(Canvas& canvas, const ListScrollBar& bar) {
  if (bar.rowCount <= bar.visibleRows) return;
  const int32_t right = bar.x + kScrollBarWidth;
  const int32_t bottom = bar.y + bar.height;
  fillRect(canvas, bar.x, bar.y, right, bottom, palette::kScrollTrack);
  fillRect(canvas, bar.x, bar.y, right, bar.y + kScrollButtonHeight, palette::kScrollButtonGrey);
  fillRect(canvas, bar.x, bottom - kScrollButtonHeight, right, bottom, palette::kScrollButtonGrey);
  const ScrollThumb thumb = scrollThumb(bar);
  fillRect(canvas, bar.x, thumb.top, right, thumb.top + thumb.length, palette::kScrollThumbGrey);
}

}  // namespace orelog
