// Drawing a list scroll bar: track, the two end buttons and the thumb.
#include <algorithm>

#include "ui/draw.h"
#include "ui/pages.h"
#include "ui/palette.h"

namespace orelog {

namespace {
constexpr int32_t kBarWidth = 12;
constexpr int32_t kButtonHeight = 12;
}  // namespace

ScrollThumb scrollThumb(const ListScrollBar& bar) {
  const int64_t travelRows = std::max<int64_t>(int64_t{bar.rowCount} - bar.visibleRows, 1);
  const int64_t rowCount = std::max<int32_t>(bar.rowCount, 1);
  const int64_t firstRow = std::clamp<int64_t>(bar.firstRow, 0, travelRows);
  const int64_t inner = int64_t{bar.height} - 2 * kButtonHeight;
  // Products first, then the truncating divisions: the thumb lands exactly on the last row.
  const int64_t length = inner * bar.visibleRows / rowCount;
  const int64_t top = bar.y + (inner - length) * firstRow / travelRows + kButtonHeight;
  return {static_cast<int32_t>(top), static_cast<int32_t>(length)};
}

void drawListScrollBar(Canvas& canvas, const ListScrollBar& bar) {
  if (bar.rowCount <= bar.visibleRows) return;
  const int32_t right = bar.x + kBarWidth;
  const int32_t bottom = bar.y + bar.height;
  fillRect(canvas, bar.x, bar.y, right, bottom, palette::kScrollTrack);
  fillRect(canvas, bar.x, bar.y, right, bar.y + kButtonHeight, palette::kScrollButtonGrey);
  fillRect(canvas, bar.x, bottom - kButtonHeight, right, bottom, palette::kScrollButtonGrey);
  const ScrollThumb thumb = scrollThumb(bar);
  fillRect(canvas, bar.x, thumb.top, right, thumb.top + thumb.length, palette::kScrollThumbGrey);
}

}  // namespace orelog
