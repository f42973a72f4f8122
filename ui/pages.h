// The draw function of each game-screen page, the list scroll bar, and the page text formats.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "game/items.h"
#include "services/platform.h"
#include "profile/player_record.h"
#include "ui/canvas.h"
#include "ui/draw_text.h"
#include "ui/game_screen.h"
#include "util/geometry.h"
#include "util/utf.h"

namespace orelog {

// What every page draws with.
struct PageTools {
  Canvas& canvas;
  const SpriteSheets& sheets;
  TextRenderer& text;
};

void drawTopPage(PageTools& tools, const GameScreen& screen, const PlayerRecord& record);
void drawCreditsPage(PageTools& tools);
void drawStatusPage(PageTools& tools, const PlayerRecord& record);
void drawShopPage(PageTools& tools, const ItemsState& items, const PlayerRecord& record);
void drawItemsPage(PageTools& tools, const ItemsState& items, const PlayerRecord& record);
// The friends page, a placeholder.
void drawFriendsPage(PageTools& tools);

// The furniture every page but the top and credits pages begins with: background, banner, the
// share and screenshot icons, the corner panel and its "戻る" caption.
void drawPageFurniture(PageTools& tools, Pixel background, const SpriteRegion& banner);
// Pieces of it: the banner at its place, the screenshot and share icons, the corner panel with its
// caption at captionX, and that panel as the "戻る" button.
void drawPageBanner(PageTools& tools, const SpriteRegion& banner);
void drawCornerIcons(PageTools& tools);
void drawCornerButton(PageTools& tools, std::u16string_view caption, int32_t captionX);
void drawBackButton(PageTools& tools);
// Small white left text, the style of nearly every label.
void drawLabel(PageTools& tools, std::u16string_view text, int32_t x, int32_t y);

// The thumb of a list scroll bar: top edge and length in pixels.
struct ScrollThumb {
  int32_t top = 0;
  int32_t length = 0;
};
// Only meaningful while rowCount > visibleRows; firstRow is taken within its valid range.
ScrollThumb scrollThumb(const ListScrollBar& bar);
// Track, end buttons and thumb; nothing unless the list has more rows than it shows.
void drawListScrollBar(Canvas& canvas, const ListScrollBar& bar);

// A character's picture for a worker digging at v KH/s (diggingKhs) at animation frame f.
SpriteRegion characterFrame(int64_t hashrate, uint64_t frame);
// The phases a character's picture depends on, as one number: two animation frames with the same
// pose draw the character alike (frame, coins or ore).
uint32_t characterPose(int64_t hashrate, uint64_t frame);
// One worker on the top page: its frame, coins or ore, and its name above it.
void drawCharacter(PageTools& tools, const CharacterSlot& slot, uint64_t frame);

// The picture of an owned item: the catalogue's place on the sheets with the item's own size;
// nullopt for a kind the catalogue does not know.
std::optional<SpriteRegion> ownedItemPicture(const OwnedItem& item);
// Lists and the inventory grid show at most the top 24 rows of a picture; the width is never cut.
inline constexpr int32_t kListPictureMaxHeight = 24;
SpriteRegion cutToListRow(SpriteRegion picture);

// Text formats of the pages (digits alone come from util/utf: decimalText).
std::u16string coinText(int64_t value);                // "%d PCC"
std::u16string playTimeText(int64_t playTimeMs);       // hours unwrapped, "%02d:%02d:%02d"
std::u16string_view displayedPlayerName(const PlayerRecord& record);  // "名無しさん" when empty

}  // namespace orelog
