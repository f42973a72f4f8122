// Paints the current page of the game screen onto the canvas.
#include "ui/game_screen.h"
#include "ui/log_page.h"
#include "ui/pages.h"

namespace orelog {

void paintCurrentPage(Canvas& canvas, const GameScreen& screen, const PlayerRecord& record,
                      const SpriteSheets& sheets, TextRenderer& text) {
  PageTools tools{canvas, sheets, text};
  switch (screen.page) {
    case kTopPage: drawTopPage(tools, screen, record); break;
    case kCreditsPage: drawCreditsPage(tools); break;
    case kStatusPage: drawStatusPage(tools, record); break;
    case kShopPage: drawShopPage(tools, screen.items, record); break;
    case kItemsPage: drawItemsPage(tools, screen.items, record); break;
    case kFriendsPage: drawFriendsPage(tools); break;
    case kLogPage: drawLogPage(tools, screen.log); break;
    default: break;  // no such page: the canvas keeps its last picture
  }
}

}  // namespace orelog
