// The items page: the inventory as a packed grid of five columns, with its scroll bar.
#include "game/list_layout.h"
#include "ui/draw.h"
#include "ui/pages.h"
#include "ui/palette.h"
#include "ui/sprite_regions.h"

namespace orelog {

namespace {

constexpr Rect kGridPanel{32, 68, 382, 192};
constexpr int32_t kColumns = list_layout::kGridColumns;
constexpr int32_t kVisibleCells = kColumns * list_layout::kVisibleRows;
constexpr int32_t kFirstCentreX = 69;
constexpr int32_t kFirstCentreY = 87;
constexpr int32_t kCellWidth = list_layout::kGridCellWidth;
constexpr int32_t kCellHeight = list_layout::kRowHeight;

void drawCell(PageTools& tools, const SpriteRegion& picture, int64_t cell) {
  const auto column = static_cast<int32_t>(cell % kColumns);
  const auto row = static_cast<int32_t>(cell / kColumns);
  const int32_t x = kFirstCentreX + kCellWidth * column - picture.width / 2;
  const int32_t y = kFirstCentreY + kCellHeight * row - picture.height / 2;
  drawSprite(tools.canvas, tools.sheets, x, y, picture);
}

// Numbers only the items in the inventory, so the grid has no gaps where placed items sit in the
// list; the numbering is the one taking an item out of the grid uses.
void drawGrid(PageTools& tools, const ItemsState& items, const PlayerRecord& record) {
  const int64_t skipped = int64_t{kColumns} * items.itemsBar.firstRow;
  int64_t k = 0;
  for (const OwnedItem& item : record.items) {
    if (!isUnplaced(item)) continue;
    const int64_t cell = k++ - skipped;
    if (cell < 0) continue;
    if (cell >= kVisibleCells) break;
    if (const auto picture = ownedItemPicture(item)) drawCell(tools, cutToListRow(*picture), cell);
  }
}

}  // namespace

void drawItemsPage(PageTools& tools, const ItemsState& items, const PlayerRecord& record) {
  drawPageFurniture(tools, palette::kPageBlue, sprites::kItemBanner);
  drawPanelFrame(tools.canvas, tools.sheets, kGridPanel.x, kGridPanel.y, kGridPanel.width, kGridPanel.height);
  drawListScrollBar(tools.canvas, items.itemsBar);
  drawGrid(tools, items, record);
}

}  // namespace orelog
