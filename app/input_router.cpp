// Mouse input on the game screen: clicks, moves and releases routed by page.
#include "app/input_router.h"

#include "game/scroll_bar.h"
#include "profile/settings.h"
#include "share/screenshot.h"
#include "share/share_link.h"
#include "ui/log_page.h"
#include "util/utf.h"

namespace orelog {

namespace {

struct TabTarget {
  Rect tab;
  int32_t page;
};

// The top page's ways out, in the order they are tested.
constexpr TabTarget kTopPageTargets[] = {
    {layout::kCreditButton, kCreditsPage}, {layout::kStatusTab, kStatusPage},
    {layout::kItemsTab, kItemsPage},       {layout::kShopTab, kShopPage},
    {layout::kFriendsTab, kFriendsPage},   {layout::kLogTab, kLogPage},
};

// Every purchase, sale and drop of an item is a save point; a failed save is silent, the next
// save point writes the record again.
void saveIf(const AppState& app, bool recordChanged) {
  if (recordChanged) saveRecord(app);
}

void askPlayerName(AppState& app, Platform& platform) {
  // The name is kept in the record and written at the next save point, not at once.
  const auto name = platform.askPlayerName(app.record.playerName);
  if (name) app.record.playerName = truncateUtf16(*name, kPlayerNameMaxUnits);
}

// The share and screenshot buttons of every page; true when one was hit.
bool clickCornerIcons(AppState& app, Platform& platform, int32_t x, int32_t y) {
  if (contains(layout::kScreenshotButton, x, y)) {
    saveScreenshot(platform, app.canvas);
    return true;
  }
  if (contains(layout::kShareButton, x, y)) {
    platform.openLink(shareLink(app.record));
    return true;
  }
  return false;
}

void leaveTopPage(AppState& app, Platform& platform, int32_t page) {
  // Another page never shows a flight: the flying item is simply back in the inventory.
  app.screen.items.motion.flyingItem.reset();
  if (page == kCreditsPage) platform.showCreditsBox(true);
  app.screen.page = page;
}

void clickTopPage(AppState& app, Platform& platform, int32_t x, int32_t y) {
  saveIf(app, pressTopPage(app.record, app.screen.items, x, y));
  for (const TabTarget& target : kTopPageTargets) {
    if (contains(target.tab, x, y)) {
      leaveTopPage(app, platform, target.page);
      return;
    }
  }
  clickCornerIcons(app, platform, x, y);
}

// The credits, status and friends pages.
void clickInformationPage(AppState& app, Platform& platform, int32_t x, int32_t y) {
  if (clickCornerIcons(app, platform, x, y)) return;
  if (contains(layout::kBackButton, x, y)) {
    if (app.screen.page == kCreditsPage) platform.showCreditsBox(false);
    app.screen.page = kTopPage;
    return;
  }
  if (app.screen.page == kStatusPage && contains(layout::kNameButton, x, y)) askPlayerName(app, platform);
}

void clickShopPage(AppState& app, Platform& platform, int32_t x, int32_t y) {
  ItemsState& items = app.screen.items;
  pressScrollBar(items.buyBar, x, y);
  pressScrollBar(items.sellBar, x, y);
  if (clickCornerIcons(app, platform, x, y)) return;
  if (contains(layout::kBackButton, x, y)) {
    app.screen.page = kTopPage;
  } else if (contains(item_areas::kBuyList, x, y)) {
    saveIf(app, buyAt(app.record, items, x, y));
  } else if (contains(item_areas::kSellList, x, y)) {
    saveIf(app, sellAt(app.record, items, x, y));
  }
}

void clickItemsPage(AppState& app, Platform& platform, int32_t x, int32_t y) {
  ItemsState& items = app.screen.items;
  pressScrollBar(items.itemsBar, x, y);
  if (clickCornerIcons(app, platform, x, y)) return;
  if (contains(layout::kBackButton, x, y)) {
    app.screen.page = kTopPage;
  } else if (const auto index = inventoryItemAt(app.record, items, x, y)) {
    // Only one item is ever in the hand: one still held from the top page is dropped first.
    saveIf(app, dropHeldItem(app.record, items));
    takeFromInventory(app.record, items, *index, x, y);
    app.screen.page = kTopPage;
  }
}

void clickLogPage(AppState& app, Platform& platform, int32_t x, int32_t y) {
  pressLogPage(app.screen.log, x, y);
  if (clickCornerIcons(app, platform, x, y)) return;
  if (contains(layout::kBackButton, x, y)) app.screen.page = kTopPage;
}

std::optional<std::size_t> characterAt(const std::vector<CharacterSlot>& slots, int32_t x, int32_t y) {
  for (std::size_t i = 0; i < slots.size(); ++i) {
    const CharacterSlot& slot = slots[i];
    if (contains(Rect{slot.x, slot.y, slot.width, slot.height}, x, y)) return i;
  }
  return std::nullopt;
}

// Follows the mouse with a dragged thumb; true when the bar was being dragged.
bool dragIfDragging(ListScrollBar& bar, int32_t y) {
  if (!bar.dragging) return false;
  dragScrollBar(bar, y);
  return true;
}

}  // namespace

void clickGameScreen(AppState& app, Platform& platform, int32_t x, int32_t y) {
  switch (app.screen.page) {
    case kTopPage: clickTopPage(app, platform, x, y); break;
    case kShopPage: clickShopPage(app, platform, x, y); break;
    case kItemsPage: clickItemsPage(app, platform, x, y); break;
    case kCreditsPage:
    case kStatusPage:
    case kFriendsPage: clickInformationPage(app, platform, x, y); break;
    case kLogPage: clickLogPage(app, platform, x, y); break;
    default: break;
  }
  platform.repaint();
}

void hoverGameScreen(AppState& app, Platform& platform, int32_t x, int32_t y) {
  GameScreen& screen = app.screen;
  ItemsState& items = screen.items;
  if (screen.page == kTopPage) {
    // Without a dragged item the hovered worker shows with the next animation tick.
    screen.hoveredCharacter = characterAt(screen.slots, x, y);
    if (!items.motion.heldItem) return;
    moveHeldItem(app.record, items, x, y);
    platform.repaint();
  } else if (screen.page == kItemsPage) {
    if (dragIfDragging(items.itemsBar, y)) platform.repaint();
  } else if (screen.page == kShopPage) {
    if (dragIfDragging(items.buyBar, y)) platform.repaint();
    if (dragIfDragging(items.sellBar, y)) platform.repaint();
  } else if (screen.page == kLogPage) {
    if (dragIfDragging(screen.log.eventsBar, y)) platform.repaint();
  }
}

void releaseGameScreen(AppState& app, Platform&) {
  ItemsState& items = app.screen.items;
  if (app.screen.page == kShopPage) {
    releaseScrollBar(items.buyBar);
    releaseScrollBar(items.sellBar);
  } else if (app.screen.page == kItemsPage) {
    releaseScrollBar(items.itemsBar);
  } else if (app.screen.page == kLogPage) {
    releaseScrollBar(app.screen.log.eventsBar);
  }
}

}  // namespace orelog
