// The game screen's state, its layout, and the dispatcher that paints the current page.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "game/characters.h"
#include "game/items.h"
#include "profile/history_log.h"
#include "services/platform.h"
#include "profile/player_record.h"
#include "ui/canvas.h"
#include "util/geometry.h"

namespace orelog {

enum Page : int32_t {
  kTopPage = 0,
  kCreditsPage = 1,
  kStatusPage = 2,
  kShopPage = 3,
  kItemsPage = 4,
  kFriendsPage = 5,
  kLogPage = 6,
};

namespace layout {
inline constexpr Rect kStatusTab{60, 68, 60, 18};
inline constexpr Rect kItemsTab{132, 68, 50, 18};
inline constexpr Rect kShopTab{192, 68, 50, 18};
inline constexpr Rect kFriendsTab{248, 68, 50, 18};
inline constexpr Rect kLogTab{304, 68, 30, 18};
inline constexpr Rect kShareButton{480, 8, 32, 30};
inline constexpr Rect kScreenshotButton{480, 46, 32, 30};
inline constexpr Rect kCreditButton{475, 280, 45, 20};
inline constexpr Rect kBackButton{475, 280, 45, 20};
inline constexpr Rect kNameButton{252, 68, 100, 20};
}  // namespace layout

// The record's figures that the pages show, copied as one value a later tick compares.
inline auto shownFigures(const PlayerRecord& record) {
  return std::make_tuple(record.level, record.experience, record.experienceToNext, record.points,
                         shownTotalKhs(record), record.payout, record.balance, record.coinSpent,
                         record.playerName);
}

// What the animation tick compares from one tick to the next to tell whether the picture changed:
// the page, the hovered worker, the figures the pages show, the workers, the characters' poses
// (top page) and the play time's second (status page).
struct TickView {
  using Figures = decltype(shownFigures(std::declval<const PlayerRecord&>()));
  struct Worker {
    double hashrate = 0;
    std::u16string displayName;
    uint32_t pose = 0;
    bool operator==(const Worker&) const = default;
  };
  int32_t page = -1;  // no page yet: the first tick always repaints
  std::optional<std::size_t> hoveredCharacter;
  Figures figures;
  std::vector<Worker> workers;
  int64_t playSecond = 0;
  bool operator==(const TickView&) const = default;
};

// The log page: the history it shows, the range chosen (kept while the program runs, 24 hours at
// start) and its event list's scroll bar.
struct LogPageState {
  HistoryLog history;
  int32_t days = 1;
  ListScrollBar eventsBar;
};

struct GameScreen {
  int32_t page = kTopPage;
  uint64_t frame = 0;                           // animation ticks since the game screen was created
  std::optional<std::size_t> hoveredCharacter;  // a slot index; none once the list is shorter
  std::vector<CharacterSlot> slots;
  ItemsState items;
  LogPageState log;
  TickView lastTick;  // what the previous animation tick saw
};

void initGameScreen(GameScreen& screen, const PlayerRecord& record);

// Composes the current page on the canvas; a page outside 0..6 leaves the canvas as it was.
void paintCurrentPage(Canvas& canvas, const GameScreen& screen, const PlayerRecord& record,
                      const SpriteSheets& sheets, TextRenderer& text);

// One 83 ms tick: frame counter, play time from the tick counter, fall and flight steps. True
// when the picture may differ from the one at the previous tick (a character's pose, a falling or
// flying item, the hovered worker, the page, new figures, the status page's play time), so the
// caller repaints only then.
bool animationTick(GameScreen& screen, PlayerRecord& record, uint32_t nowTick);

}  // namespace orelog
