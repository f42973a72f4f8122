// The shop page: the catalogue to buy from, the player's items to sell, and the coin at hand.
#include "game/list_layout.h"
#include "profile/catalogue.h"
#include "ui/draw.h"
#include "ui/pages.h"
#include "ui/palette.h"
#include "ui/sprite_regions.h"

namespace orelog {

namespace {

constexpr Rect kBuyPanel{32, 68, 200, 192};
constexpr Rect kSellPanel{252, 68, 200, 192};
constexpr Rect kCoinBox{252, 273, 200, 18};
constexpr int32_t kCoinLabelX = 264;
constexpr int32_t kCoinValueRightX = 440;
constexpr int32_t kCoinTextY = 276;

// Both lists: a row's text 9 pixels below the top of its band, as many rows as the lists show.
constexpr int32_t kFirstRowY = list_layout::kTop + 9;
constexpr int32_t kRowPitch = list_layout::kRowHeight;
constexpr int32_t kRowsEndY = kFirstRowY + list_layout::kHeight;
constexpr int32_t kPictureAnchorDy = 6;

struct ListColumns {
  int32_t pictureCentreX;
  int32_t priceRightX;
  int32_t actionX;
  std::u16string_view action;
};
constexpr ListColumns kBuyColumns{72, 167, 182, u"購入"};
constexpr ListColumns kSellColumns{292, 387, 402, u"売却"};

void drawPanel(PageTools& tools, const Rect& r) {
  drawPanelFrame(tools.canvas, tools.sheets, r.x, r.y, r.width, r.height);
}

void drawPriceAndAction(PageTools& tools, const ListColumns& columns, int32_t price, int32_t y, Pixel colour) {
  drawText(tools.text, tools.canvas, coinText(price), columns.priceRightX, y, FontSize::Small,
           TextAlign::Right, colour);
  drawText(tools.text, tools.canvas, columns.action, columns.actionX, y, FontSize::Small, TextAlign::Left,
           colour);
}

void drawCoinBox(PageTools& tools, int32_t coin) {
  drawPanel(tools, kCoinBox);
  drawLabel(tools, u"所持金", kCoinLabelX, kCoinTextY);
  drawText(tools.text, tools.canvas, coinText(coin), kCoinValueRightX, kCoinTextY, FontSize::Small,
           TextAlign::Right, palette::kTextWhite);
}

// Buy-list pictures are centred on the row's y + 6; prices the player cannot pay are grey.
void drawBuyList(PageTools& tools, const ListScrollBar& bar, int32_t coin) {
  for (int32_t r = 0, y = kFirstRowY; y < kRowsEndY; ++r, y += kRowPitch) {
    const int64_t entry = int64_t{bar.firstRow} + r;
    if (entry >= kItemKindCount) break;
    if (!isItemKind(entry)) continue;
    const auto kind = static_cast<int32_t>(entry);
    const SpriteRegion picture = cutToListRow(itemRegion(kind));
    drawSprite(tools.canvas, tools.sheets, kBuyColumns.pictureCentreX - picture.width / 2,
               y - picture.height / 2 + kPictureAnchorDy, picture);
    const Pixel colour = coin < itemPrice(kind) ? palette::kPriceGrey : palette::kTextWhite;
    drawPriceAndAction(tools, kBuyColumns, itemPrice(kind), y, colour);
  }
}

// Every owned item, on the shelves or not; pictures stand with their bottom on the row's y + 6.
void drawSellList(PageTools& tools, const ListScrollBar& bar, const PlayerRecord& record) {
  const auto count = static_cast<int64_t>(record.items.size());
  for (int32_t r = 0, y = kFirstRowY; y < kRowsEndY; ++r, y += kRowPitch) {
    const int64_t index = int64_t{bar.firstRow} + r;
    if (index >= count) break;
    if (index < 0) continue;
    const OwnedItem& item = record.items[static_cast<std::size_t>(index)];
    const auto picture = ownedItemPicture(item);
    if (!picture) continue;
    const SpriteRegion cut = cutToListRow(*picture);
    drawSprite(tools.canvas, tools.sheets, kSellColumns.pictureCentreX - cut.width / 2,
               y - cut.height + kPictureAnchorDy, cut);
    drawPriceAndAction(tools, kSellColumns, itemSalePrice(item.itemId), y, palette::kTextWhite);
  }
}

}  // namespace

void drawShopPage(PageTools& tools, const ItemsState& items, const PlayerRecord& record) {
  drawPageFurniture(tools, palette::kPageBlue, sprites::kShopBanner);
  drawPanel(tools, kBuyPanel);
  drawPanel(tools, kSellPanel);
  drawListScrollBar(tools.canvas, items.buyBar);
  drawListScrollBar(tools.canvas, items.sellBar);
  const int32_t coin = availableCoin(record);
  drawCoinBox(tools, coin);
  drawBuyList(tools, items.buyBar, coin);
  drawSellList(tools, items.sellBar, record);
}

}  // namespace orelog
