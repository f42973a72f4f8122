// The game screen's state, its layout, and the dispatcher that paints the current page.
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "game/characters.h"
#include "game/items.h"
#include "platform/platform.h"
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

struct GameScreen {
  int32_t page = kTopPage;
  uint64_t frame = 0;  // animation ticks since the game screen was created
  std::optional<std::size_t> hoveredCharacter;  // a slot index; none once the list is shorter
  std::vector<CharacterSlot> slots;
  ItemsState items;
};

void initGameScreen(GameScreen& screen, const PlayerRecord& record);

// Composes the current page on the canvas; a page outside 0..6 leaves the canvas as it was.
void paintCurrentPage(Canvas& canvas, const GameScreen& screen, const PlayerRecord& record,
                      const SpriteSheets& sheets, TextRenderer& text);

// One 83 ms tick: frame counter, play time from the tick counter, fall and flight steps.
// The caller repaints afterwards.
void animationTick(GameScreen& screen, PlayerRecord& record, uint32_t nowTick);

}  // namespace orelog
