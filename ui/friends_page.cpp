// The friends page: a placeholder until friends exist.
#include "ui/draw.h"
#include "ui/pages.h"
#include "ui/palette.h"
#include "ui/sprite_regions.h"

namespace orelog {

void drawFriendsPage(PageTools& tools) {
  drawPageFurniture(tools, palette::kPageBlue, sprites::kFriendBanner);
  drawPanelFrame(tools.canvas, tools.sheets, 32, 68, 200, 200);
  drawLabel(tools, u"未実装", 47, 83);
}

}  // namespace orelog
