// Clicks, moves and releases on the game screen, driven through a platform that records its calls.
#include "app/input_router.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "game/characters.h"
#include "services/null_platform.h"
#include "profile/catalogue.h"
#include "profile/settings.h"
#include "share/screenshot.h"
#include "share/share_link.h"
#include "game/scroll_bar.h"
#include "ui/log_page.h"
#include "tests/support/temp_folder.h"

namespace orelog {
namespace {

using test::TempFolder;

struct RecordingPlatform : NullPlatform {
  int repaints = 0;
  std::vector<bool> creditsBox;
  std::vector<std::string> links;
  std::vector<std::u16string> savePathQuestions;
  std::vector<std::u16string> nameQuestions;
  std::optional<std::u16string> nameAnswer;
  DateTime now{2026, 12, 10, 3, 5, 9};

  void repaint() override { ++repaints; }
  void showCreditsBox(bool visible) override { creditsBox.push_back(visible); }
  void openLink(std::string_view url) override { links.emplace_back(url); }
  ZonedDateTime localTime() override { return {now, 0}; }
  std::optional<std::string> askSavePath(std::u16string_view defaultName) override {
    savePathQuestions.emplace_back(defaultName);
    return std::nullopt;
  }
  std::optional<std::u16string> askPlayerName(std::u16string_view current) override {
    nameQuestions.emplace_back(current);
    return nameAnswer;
  }
};

class Router : public ::testing::Test {
 protected:
  Router() {
    app->settingsFile = folder.file("config.json");
    initGameScreen(app->screen, app->record);
  }
  void startWith(std::vector<OwnedItem> items) {
    app->record.items = std::move(items);
    initGameScreen(app->screen, app->record);
  }
  void click(int32_t x, int32_t y) { clickGameScreen(*app, platform, x, y); }
  void hover(int32_t x, int32_t y) { hoverGameScreen(*app, platform, x, y); }
  void release() { releaseGameScreen(*app, platform); }
  int32_t page() const { return app->screen.page; }
  bool saved() const { return std::filesystem::exists(app->settingsFile); }

  TempFolder folder;
  std::unique_ptr<AppState> app = std::make_unique<AppState>();
  RecordingPlatform platform;
};

// --- The corner button: (475, 280, 45, 20) ---

struct CornerCase {
  int32_t x;
  int32_t y;
  bool inside;
};

void PrintTo(const CornerCase& c, std::ostream* os) { *os << c.x << " " << c.y << (c.inside ? " in" : " out"); }

class CornerButton : public Router, public ::testing::WithParamInterface<CornerCase> {};

TEST_P(CornerButton, LeadsBackFromTheStatusPageOnlyWhenHit) {
  app->screen.page = kStatusPage;
  click(GetParam().x, GetParam().y);
  EXPECT_EQ(page(), GetParam().inside ? kTopPage : kStatusPage);
  EXPECT_EQ(platform.repaints, 1);
}

INSTANTIATE_TEST_SUITE_P(Points, CornerButton,
                         ::testing::Values(CornerCase{475, 280, true}, CornerCase{474, 285, false},
                                           CornerCase{519, 299, true}, CornerCase{500, 279, false}));

TEST_F(Router, TheCreditButtonShowsTheCreditsBoxAndTheBackButtonHidesIt) {
  click(500, 290);
  EXPECT_EQ(page(), kCreditsPage);
  EXPECT_EQ(platform.creditsBox, std::vector<bool>{true});
  click(500, 290);
  EXPECT_EQ(page(), kTopPage);
  EXPECT_EQ(platform.creditsBox, (std::vector<bool>{true, false}));
  app->screen.page = kStatusPage;
  click(500, 290);
  EXPECT_EQ(page(), kTopPage);
  EXPECT_EQ(platform.creditsBox, (std::vector<bool>{true, false}))
      << "only the credits page owns the box";
}

// --- The top page's tabs ---

struct TabCase {
  int32_t x;
  int32_t y;
  int32_t page;
};

class Tab : public Router, public ::testing::WithParamInterface<TabCase> {};

TEST_P(Tab, OpensItsPageAndEndsAnyFlight) {
  app->screen.items.motion.flyingItem = 0;
  app->record.items = {ownedItemOfKind(0)};
  click(GetParam().x, GetParam().y);
  EXPECT_EQ(page(), GetParam().page);
  const bool stillOnTop = GetParam().page == kTopPage;
  EXPECT_EQ(app->screen.items.motion.flyingItem.has_value(), stillOnTop);
  EXPECT_EQ(platform.repaints, 1);
}

INSTANTIATE_TEST_SUITE_P(Tabs, Tab,
                         ::testing::Values(TabCase{60, 68, kStatusPage}, TabCase{119, 85, kStatusPage},
                                           TabCase{132, 70, kItemsPage}, TabCase{192, 70, kShopPage},
                                           TabCase{248, 70, kFriendsPage}, TabCase{304, 70, kLogPage},
                                           TabCase{333, 85, kLogPage}, TabCase{334, 70, kTopPage},
                                           TabCase{125, 70, kTopPage}, TabCase{60, 86, kTopPage}));

TEST_F(Router, ATabClickWhileDraggingDropsTheItemWhichIsBackInTheInventoryOnTheNewPage) {
  startWith({ownedItemOfKind(0, 100, 135)});
  click(105, 140);  // picks it up
  ASSERT_EQ(app->screen.items.motion.heldItem, 0u);
  hover(65, 75);  // drags it over the tabs, far above the drop zone
  click(65, 75);  // the status tab
  EXPECT_EQ(page(), kStatusPage);
  EXPECT_FALSE(app->screen.items.motion.heldItem.has_value());
  EXPECT_FALSE(app->screen.items.motion.flyingItem.has_value());
  EXPECT_TRUE(isUnplaced(app->record.items[0]));
  EXPECT_EQ(app->screen.items.unplacedCount, 1);
  EXPECT_TRUE(saved());
}

TEST_F(Router, AnItemPickedUpUnderATabStaysInTheHandThroughSalesAndPurchases) {
  // A tall item falling past the shop tab: the click picks it up and opens the shop.
  startWith({ownedItemOfKind(1, 40, 135), ownedItemOfKind(13, 190, 60)});
  app->record.payout = 50.0;
  click(200, 75);
  ASSERT_EQ(page(), kShopPage);
  ASSERT_EQ(app->screen.items.motion.heldItem, 1u);
  click(300, 73 + 5);   // sells the first item, before the held one
  click(100, 73 + 5);   // buys a kind 0
  EXPECT_EQ(app->screen.items.motion.heldItem, 0u);
  click(475, 280);      // back
  click(250, 150);      // drops the held item where it is: its bottom row touches the zone
  ASSERT_EQ(app->record.items.size(), 2u);
  EXPECT_EQ(app->record.items[0].itemId, 13);
  EXPECT_EQ(app->record.items[0].x, 190);
  EXPECT_EQ(app->record.items[0].y, 60);
  EXPECT_FALSE(app->screen.items.motion.heldItem.has_value());
  EXPECT_EQ(app->screen.items.unplacedCount, 1);
}

// --- Share and screenshot on every page ---

class CornerIcons : public Router, public ::testing::WithParamInterface<int32_t> {};

TEST_P(CornerIcons, WorkOnEveryPage) {
  app->record.playerName = u"Bob";
  app->screen.page = GetParam();
  click(490, 50);
  ASSERT_EQ(platform.savePathQuestions.size(), 1u);
  EXPECT_EQ(platform.savePathQuestions[0], u"Orelog20261210030509.png");
  click(490, 10);
  ASSERT_EQ(platform.links.size(), 1u);
  EXPECT_EQ(platform.links[0], shareLink(app->record));
  EXPECT_EQ(page(), GetParam());
  EXPECT_EQ(platform.repaints, 2);
}

INSTANTIATE_TEST_SUITE_P(Pages, CornerIcons, ::testing::Range(0, 7));

// --- The status page's name button ---

TEST_F(Router, TheNameDialogStoresAtMost63UnitsAndSavesNothing) {
  app->record.playerName = u"old";
  app->screen.page = kStatusPage;
  platform.nameAnswer = std::u16string(70, u'n');
  click(300, 75);
  ASSERT_EQ(platform.nameQuestions, std::vector<std::u16string>{u"old"});
  EXPECT_EQ(app->record.playerName, std::u16string(63, u'n'));
  EXPECT_FALSE(saved());
}

TEST_F(Router, ACancelledNameDialogKeepsTheName) {
  app->record.playerName = u"old";
  app->screen.page = kStatusPage;
  click(300, 75);
  EXPECT_EQ(app->record.playerName, u"old");
  EXPECT_EQ(platform.nameQuestions.size(), 1u);
}

TEST_F(Router, TheNameButtonBelongsToTheStatusPageOnly) {
  app->screen.page = kFriendsPage;
  click(300, 75);
  EXPECT_TRUE(platform.nameQuestions.empty());
}

// The log page: a range button picks its range; its scroll bar is pressed, dragged and released as
// the other lists' are; the back button leads home.
TEST_F(Router, TheLogPageTakesTheRangeButtonsAndItsScrollBar) {
  std::vector<HistoryRow> rows;
  for (int i = 0; i < 40; ++i) rows.push_back({1796950000 + 150 * i, 540, 100.0 * (i % 2), 0, 0, {{"a.rig", 100 * (i % 2)}}});
  setHistoryRows(app->screen.log.history, rows);
  syncLogEvents(app->screen.log);
  click(319, 77);
  ASSERT_EQ(page(), kLogPage);
  click(170, 68);
  EXPECT_EQ(app->screen.log.days, 30);
  const ListScrollBar& bar = app->screen.log.eventsBar;
  const int32_t thumbY = bar.y + kScrollButtonHeight + 1;
  click(bar.x + 2, thumbY);
  EXPECT_TRUE(bar.dragging);
  const int repaints = platform.repaints;
  hover(bar.x + 2, thumbY + 60);
  EXPECT_GT(bar.firstRow, 0);
  EXPECT_GT(platform.repaints, repaints);
  release();
  EXPECT_FALSE(bar.dragging);
  click(500, 290);
  EXPECT_EQ(page(), kTopPage);
  EXPECT_EQ(app->screen.log.days, 30) << "the range is kept while the program runs";
}

// --- Save points: every purchase, sale and drop of an item writes config.json ---

struct SavePointCase {
  const char* name;
  // The case by its name, so a test's listed name holds no object bytes.
  friend void PrintTo(const SavePointCase& c, std::ostream* os) { *os << c.name; }
  int32_t page;
  bool holding;  // the placed item is in the hand before the click
  int32_t x;
  int32_t y;
  bool saves;
};

class SavePoint : public Router, public ::testing::WithParamInterface<SavePointCase> {};

TEST_P(SavePoint, WritesTheRecordAsItStandsAfterTheClick) {
  const SavePointCase& c = GetParam();
  startWith({ownedItemOfKind(1, 100, 135), ownedItemOfKind(2)});  // placed on the upper shelf; unplaced
  app->record.payout = 12.0;
  app->screen.page = c.page;
  if (c.holding) app->screen.items.motion.heldItem = 0;
  click(c.x, c.y);
  ASSERT_EQ(saved(), c.saves);
  if (!c.saves) return;
  PlayerRecord onDisk;
  ASSERT_TRUE(loadSettings(onDisk, app->settingsFile, 0));
  EXPECT_EQ(onDisk.coinSpent, app->record.coinSpent);
  ASSERT_EQ(onDisk.items.size(), app->record.items.size());
  for (std::size_t i = 0; i < onDisk.items.size(); ++i) {
    EXPECT_EQ(onDisk.items[i].itemId, app->record.items[i].itemId) << i;
    EXPECT_EQ(onDisk.items[i].x, app->record.items[i].x) << i;
    EXPECT_EQ(onDisk.items[i].y, app->record.items[i].y) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, SavePoint,
    ::testing::Values(SavePointCase{"Purchase", kShopPage, false, 100, 73 + 5, true},
                      SavePointCase{"PurchaseTooDear", kShopPage, false, 100, 73 + 26 * 3 + 5, false},
                      SavePointCase{"Sale", kShopPage, false, 300, 73 + 5, true},
                      SavePointCase{"SaleOfAnEmptyRow", kShopPage, false, 300, 73 + 26 * 2 + 5, false},
                      SavePointCase{"DropOnTheShelf", kTopPage, true, 5, 5, true},
                      SavePointCase{"PickUp", kTopPage, false, 105, 140, false},
                      SavePointCase{"TakeOut", kItemsPage, false, 40, 80, false}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Shop and items pages ---

TEST_F(Router, AShopClickBuysTheRowUnderThePoint) {
  app->record.payout = 20.0;
  app->screen.page = kShopPage;
  click(100, 73 + 26 * 3 + 5);  // kind 3, 15 coins
  ASSERT_EQ(app->record.items.size(), 1u);
  EXPECT_EQ(app->record.items[0].itemId, 3);
  EXPECT_EQ(app->screen.items.sellBar.rowCount, 1);
  EXPECT_TRUE(saved());
  click(300, 73 + 5);  // sells it again
  EXPECT_TRUE(app->record.items.empty());
  EXPECT_EQ(page(), kShopPage);
}

TEST_F(Router, TakingAnItemOutReturnsToTheTopPageWithTheItemInTheHand) {
  startWith({ownedItemOfKind(1), ownedItemOfKind(2)});
  app->screen.page = kItemsPage;
  click(40 + 72, 80);
  EXPECT_EQ(page(), kTopPage);
  EXPECT_EQ(app->screen.items.motion.heldItem, 1u);
  app->screen.page = kItemsPage;
  click(40 + 72 * 3, 80);  // an empty cell
  EXPECT_EQ(page(), kItemsPage);
}

TEST_F(Router, TakingOutWhileAnotherItemIsStillHeldDropsAndSavesThatOneFirst) {
  startWith({ownedItemOfKind(0, 100, 60), ownedItemOfKind(1)});  // held above the zone: it flies home
  app->screen.items.motion.heldItem = 0;
  app->screen.page = kItemsPage;
  click(40, 80);
  EXPECT_EQ(page(), kTopPage);
  EXPECT_EQ(app->screen.items.motion.heldItem, 1u);
  EXPECT_TRUE(isUnplaced(app->record.items[0]));
  EXPECT_EQ(app->screen.items.motion.flyingItem, 0u);
  EXPECT_EQ(app->screen.items.unplacedCount, 1);
  PlayerRecord onDisk;
  ASSERT_TRUE(loadSettings(onDisk, app->settingsFile, 0));
  ASSERT_EQ(onDisk.items.size(), 2u);
  EXPECT_TRUE(isUnplaced(onDisk.items[0]));
  EXPECT_TRUE(isUnplaced(onDisk.items[1])) << "saved at the drop, before the next item left the inventory";
}

TEST_F(Router, ShopScrollBarsFollowTheMouseUntilTheRelease) {
  app->screen.page = kShopPage;
  click(220, 100);  // the buy bar's thumb
  ASSERT_TRUE(app->screen.items.buyBar.dragging);
  const int repaintsAfterClick = platform.repaints;
  hover(300, 100 + 89);
  EXPECT_EQ(app->screen.items.buyBar.firstRow, 9);
  EXPECT_EQ(platform.repaints, repaintsAfterClick + 1);
  release();
  EXPECT_FALSE(app->screen.items.buyBar.dragging);
  hover(300, 100);
  EXPECT_EQ(app->screen.items.buyBar.firstRow, 9);
  EXPECT_EQ(platform.repaints, repaintsAfterClick + 1) << "release and idle moves paint nothing";
}

TEST_F(Router, TheItemsBarIsReleasedOnlyOnTheItemsPage) {
  startWith(std::vector<OwnedItem>(40, ownedItemOfKind(1)));
  app->screen.page = kItemsPage;
  click(400, 100);
  ASSERT_TRUE(app->screen.items.itemsBar.dragging);
  app->screen.page = kTopPage;
  release();
  EXPECT_TRUE(app->screen.items.itemsBar.dragging);
  app->screen.page = kItemsPage;
  release();
  EXPECT_FALSE(app->screen.items.itemsBar.dragging);
}

// --- Hover on the top page ---

TEST_F(Router, HoverWithoutADraggedItemPicksTheCharacterButRequestsNoRepaint) {
  app->record.workers = {{"a", 1}, {"b", 2}, {"c", 3}, {"d", 4}, {"e", 5}, {"f", 6}};
  rebuildCharacterSlots(app->screen.slots, app->record);
  hover(134, 224);
  EXPECT_EQ(app->screen.hoveredCharacter, 5u);
  hover(177, 263);
  EXPECT_EQ(app->screen.hoveredCharacter, 5u);
  hover(178, 263);
  EXPECT_FALSE(app->screen.hoveredCharacter.has_value());
  EXPECT_EQ(platform.repaints, 0);
}

TEST_F(Router, HoverWithADraggedItemMovesItAndRepaints) {
  startWith({ownedItemOfKind(0, 100, 135)});
  click(104, 139);
  const int repaintsAfterClick = platform.repaints;
  hover(204, 149);
  EXPECT_EQ(app->record.items[0].x, 200);
  EXPECT_EQ(app->record.items[0].y, 145);
  EXPECT_EQ(platform.repaints, repaintsAfterClick + 1);
}

TEST_F(Router, EveryClickRepaintsOnceWhateverItHits) {
  for (int32_t p = 0; p < 7; ++p) {
    app->screen.page = p;
    click(5, 5);
  }
  app->screen.page = 42;
  click(500, 290);
  EXPECT_EQ(page(), 42);
  EXPECT_EQ(platform.repaints, 8);
}

}  // namespace
}  // namespace orelog
