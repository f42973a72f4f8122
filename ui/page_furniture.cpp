// The background, banner, icons and corner button that the game-screen pages share.
#include "ui/draw.h"
#include "ui/game_screen.h"
#include "ui/pages.h"
#include "ui/palette.h"
#include "ui/sprite_regions.h"

namespace orelog {

namespace {
constexpr int32_t kBannerX = 32;
constexpr int32_t kBannerY = 16;
constexpr int32_t kCornerCaptionY = 284;
constexpr int32_t kBackCaptionX = 490;
}  // namespace

void drawLabel(PageTools& tools, std::u16string_view text, int32_t x, int32_t y) {
  drawText(tools.text, tools.canvas, text, x, y, FontSize::Small, TextAlign::Left, palette::kTextWhite);
}

void drawCornerIcons(PageTools& tools) {
  drawSprite(tools.canvas, tools.sheets, layout::kScreenshotButton.x, layout::kScreenshotButton.y,
             sprites::kScreenshotIcon);
  drawSprite(tools.canvas, tools.sheets, layout::kShareButton.x, layout::kShareButton.y, sprites::kShareIcon);
}

void drawCornerButton(PageTools& tools, std::u16string_view caption, int32_t captionX) {
  // The panel is larger than the button; the canvas edge cuts it to the button's 45 x 20.
  drawSprite(tools.canvas, tools.sheets, layout::kBackButton.x, layout::kBackButton.y, sprites::kBluePanel);
  drawLabel(tools, caption, captionX, kCornerCaptionY);
}

void drawBackButton(PageTools& tools) { drawCornerButton(tools, u"戻る", kBackCaptionX); }

void drawPageBanner(PageTools& tools, const SpriteRegion& banner) {
  drawSprite(tools.canvas, tools.sheets, kBannerX, kBannerY, banner);
}

void drawPageFurniture(PageTools& tools, Pixel background, const SpriteRegion& banner) {
  fillRect(tools.canvas, 0, 0, kCanvasWidth, kCanvasHeight, background);
  drawPageBanner(tools, banner);
  drawCornerIcons(tools);
  drawBackButton(tools);
}

}  // namespace orelog
