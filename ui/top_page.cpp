// The top page: figures, the worker box, the shelves with their characters and items, the tabs.
#include <array>
#include <cstdint>

#include "game/mining_power.h"
#include "ui/draw.h"
#include "ui/pages.h"
#include "ui/palette.h"
#include "ui/sprite_regions.h"

namespace orelog {

namespace {

constexpr int32_t kCreditCaptionX = 484;

// Labels and values of the two boxes at the right.
constexpr int32_t kBoxLabelX = 390;
constexpr int32_t kBoxValueX = 431;
constexpr Rect kPlayerBox{380, 100, 108, 68};
constexpr Rect kWorkerBox{380, 190, 108, 54};
constexpr int32_t kPlayerRowY[] = {107, 121, 135, 149};
constexpr int32_t kWorkerNameY = 197;
constexpr int32_t kWorkerPowerY = 211;
// A name ends before the box's 5-pixel frame, with a pixel to spare.
constexpr int32_t kBoxTextRight = kWorkerBox.x + kWorkerBox.width - 7;

// The play field: sky over the upper shelf, earth behind the lower one.
constexpr int32_t kFieldLeft = 32;
constexpr int32_t kFieldRight = kFieldLeft + sprites::kShelf.width;
constexpr int32_t kSkyTop = 100;
constexpr int32_t kUpperShelfY = 151;
constexpr int32_t kLowerShelfY = 209;
constexpr int32_t kEarthBottom = kLowerShelfY + sprites::kShelf.height;
// The sky and the earth cover it in full.
constexpr Rect kField{kFieldLeft, kSkyTop, kFieldRight - kFieldLeft, kEarthBottom - kSkyTop};
constexpr std::array<Point, 4> kClouds{{{46, 110}, {140, 105}, {232, 110}, {310, 105}}};

constexpr Rect kTabBar{32, 68, 324, 18};
constexpr int32_t kTabCaptionInset = 3;
struct Tab {
  Rect rect;
  std::u16string_view caption;
};
constexpr std::array<Tab, 5> kTabs{{
    {layout::kStatusTab, u"ステータス"},
    {layout::kItemsTab, u"アイテム"},
    {layout::kShopTab, u"ショップ"},
    {layout::kFriendsTab, u"フレンド"},
    {layout::kLogTab, u"ログ"},
}};

// The boxes and the tab bar lie on the grey background, which is not painted under them first.
void drawPanel(PageTools& tools, const Rect& r) {
  drawPanelFrameOn(tools.canvas, tools.sheets, r, palette::kTopPageGrey);
}

void drawHeader(PageTools& tools) {
  // Grey only where nothing opaque follows: the field gets sky and earth, the panels paint their own.
  constexpr Rect kPaintedLater[] = {kField, kTabBar, kPlayerBox, kWorkerBox};
  fillAround(tools.canvas, kPaintedLater, palette::kTopPageGrey);
  drawPageBanner(tools, sprites::kTitleBanner);
  // Sound labels are decoration: the game plays no sound.
  drawSprite(tools.canvas, tools.sheets, 32, 278, sprites::kBgmLabel);
  drawSprite(tools.canvas, tools.sheets, 82, 278, sprites::kSeLabel);
  drawCornerIcons(tools);
  drawCornerButton(tools, u"Credit", kCreditCaptionX);
}

void drawTabBar(PageTools& tools) {
  drawPanel(tools, kTabBar);
  for (const Tab& tab : kTabs) {
    drawLabel(tools, tab.caption, tab.rect.x + kTabCaptionInset, tab.rect.y + kTabCaptionInset);
  }
}

void drawPlayerBox(PageTools& tools, const PlayerRecord& record) {
  drawPanel(tools, kPlayerBox);
  const std::array<std::pair<std::u16string_view, std::u16string>, 4> rows{{
      {u"レベル", decimalText(record.level)},
      {u"採掘力", miningPowerText(shownTotalKhs(record))},
      {u"成果", coinText(coinBalance(record))},  // not floored at 0, unlike the shop's coin
      {u"PP", decimalText(record.points)},
  }};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    drawLabel(tools, rows[i].first, kBoxLabelX, kPlayerRowY[i]);
    drawLabel(tools, rows[i].second, kBoxValueX, kPlayerRowY[i]);
  }
}

void drawWorkerBox(PageTools& tools, const GameScreen& screen) {
  drawPanel(tools, kWorkerBox);
  // The hovered index outlives slot rebuilds; a shorter list simply has no such worker.
  if (!screen.hoveredCharacter || *screen.hoveredCharacter >= screen.slots.size()) return;
  const CharacterSlot& slot = screen.slots[*screen.hoveredCharacter];
  drawLabel(tools, fittedText(tools.text, slot.displayName, FontSize::Small, kBoxTextRight - kBoxLabelX),
            kBoxLabelX, kWorkerNameY);
  drawLabel(tools, u"採掘力", kBoxLabelX, kWorkerPowerY);
  drawLabel(tools, miningPowerText(slot.hashrate), kBoxValueX, kWorkerPowerY);
}

void drawField(PageTools& tools) {
  const int32_t shelfHeight = sprites::kShelf.height;
  fillRect(tools.canvas, kFieldLeft, kSkyTop, kFieldRight, kUpperShelfY + shelfHeight, palette::kSkyBlue);
  for (const Point& cloud : kClouds)
    drawSprite(tools.canvas, tools.sheets, cloud.x, cloud.y, sprites::kCloud);
  drawSprite(tools.canvas, tools.sheets, kFieldLeft, kUpperShelfY, sprites::kShelf);
  fillRect(tools.canvas, kFieldLeft, kLowerShelfY, kFieldRight, kEarthBottom, palette::kGroundBrown);
  drawSprite(tools.canvas, tools.sheets, kFieldLeft, kLowerShelfY, sprites::kShelf);
}

void drawPlacedItems(PageTools& tools, const PlayerRecord& record) {
  // Every item out of the inventory is drawn whole, including one dropped a little past the
  // left edge (the canvas clips it), so no item on the shelves can vanish from view.
  for (const OwnedItem& item : record.items) {
    if (isUnplaced(item)) continue;
    if (const auto picture = ownedItemPicture(item))
      drawSprite(tools.canvas, tools.sheets, item.x, item.y, *picture);
  }
}

void drawFlyingItem(PageTools& tools, const ItemMotion& motion, const PlayerRecord& record) {
  if (!motion.flyingItem || *motion.flyingItem >= record.items.size()) return;
  const OwnedItem& item = record.items[*motion.flyingItem];
  const auto picture = ownedItemPicture(item);
  if (!picture) return;
  const Point at = flyingItemPosition(motion, item);
  drawSprite(tools.canvas, tools.sheets, at.x, at.y, *picture);
}

}  // namespace

void drawTopPage(PageTools& tools, const GameScreen& screen, const PlayerRecord& record) {
  drawHeader(tools);
  drawTabBar(tools);
  drawPlayerBox(tools, record);
  drawWorkerBox(tools, screen);
  drawField(tools);
  for (const CharacterSlot& slot : screen.slots) drawCharacter(tools, slot, screen.frame);
  drawPlacedItems(tools, record);
  drawFlyingItem(tools, screen.items.motion, record);
}

}  // namespace orelog
