// The credits page: title, staff and the line above the licence box the platform shows.
#include "ui/draw.h"
#include "ui/pages.h"
#include "ui/palette.h"
#include "ui/sprite_regions.h"

namespace orelog {

namespace {

struct CreditLine {
  std::u16string_view text;
  int32_t x;
  int32_t y;
};

constexpr CreditLine kStaff[] = {
    {u"プロデューサー: 高森 ゆう", 48, 50},
    {u"キャラクターデザイン: 三輪 なつき", 48, 66},
    {u"プログラム: 江口 しん", 48, 82},
};
// Sits directly above the licence text box at (30, 200).
constexpr CreditLine kNoticeLead{u"このプログラムは下記の著作物を使用しています。", 30, 180};

void drawMedium(PageTools& tools, const CreditLine& line) {
  drawText(tools.text, tools.canvas, line.text, line.x, line.y, FontSize::Medium, TextAlign::Left,
           palette::kTextWhite);
}

}  // namespace

void drawCreditsPage(PageTools& tools) {
  fillRect(tools.canvas, 0, 0, kCanvasWidth, kCanvasHeight, palette::kCreditsNavy);
  drawCornerIcons(tools);
  drawText(tools.text, tools.canvas, u"ホリダス(仮)", 32, 24, FontSize::Large, TextAlign::Left,
           palette::kTextWhite);
  for (const CreditLine& line : kStaff) drawMedium(tools, line);
  drawMedium(tools, kNoticeLead);
  drawBackButton(tools);
}

}  // namespace orelog
