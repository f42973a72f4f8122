// The status page: the player's profile and progress, the name button and the avatar.
#include <array>

#include "ui/draw.h"
#include "ui/pages.h"
#include "ui/palette.h"
#include "ui/sprite_regions.h"

namespace orelog {

namespace {

constexpr Rect kTable{32, 68, 200, 200};
constexpr int32_t kLabelX = 47;
constexpr int32_t kValueRightX = 217;
constexpr Rect kAvatarPanel{252, 98, 100, 80};
constexpr int32_t kAvatarX = 292;
constexpr int32_t kAvatarY = 123;
constexpr int32_t kNameCaptionTopInset = 4;
constexpr std::u16string_view kNameLabel = u"名前";
// The name, right-aligned, keeps this far from the end of its label.
constexpr int32_t kNameGap = 8;

struct Row {
  int32_t y;
  std::u16string_view label;
  std::u16string value;
};

void drawRow(PageTools& tools, const Row& row) {
  drawLabel(tools, row.label, kLabelX, row.y);
  drawText(tools.text, tools.canvas, row.value, kValueRightX, row.y, FontSize::Small, TextAlign::Right,
           palette::kTextWhite);
}

// The player's name as it fits between its label and the value column's right edge.
std::u16string fittedPlayerName(PageTools& tools, const PlayerRecord& record) {
  const int32_t room = kValueRightX - kLabelX - tools.text.textWidth(kNameLabel, FontSize::Small) - kNameGap;
  return fittedText(tools.text, displayedPlayerName(record), FontSize::Small, room);
}

void drawNameButton(PageTools& tools) {
  const Rect& button = layout::kNameButton;
  drawPanelFrame(tools.canvas, tools.sheets, button.x, button.y, button.width, button.height);
  drawText(tools.text, tools.canvas, u"名前設定", button.x + button.width / 2,
           button.y + kNameCaptionTopInset, FontSize::Small, TextAlign::Centre, palette::kTextWhite);
}

}  // namespace

void drawStatusPage(PageTools& tools, const PlayerRecord& record) {
  drawPageFurniture(tools, palette::kPageBlue, sprites::kStatusBanner);
  drawPanelFrame(tools.canvas, tools.sheets, kTable.x, kTable.y, kTable.width, kTable.height);
  // The row at y = 174 is left empty.
  const std::array<Row, 7> rows{{
      {78, kNameLabel, fittedPlayerName(tools, record)},
      {94, u"レベル", decimalText(record.level)},
      {110, u"経験値", decimalText(record.experience)},
      {126, u"次のレベルまで", decimalText(record.experienceToNext)},
      {142, u"ポココインコイン", decimalText(availableCoin(record))},
      {158, u"ポコポイント", decimalText(record.points)},
      {190, u"プレイ時間", playTimeText(record.playTimeMs)},
  }};
  for (const Row& row : rows) drawRow(tools, row);
  drawNameButton(tools);
  drawPanelFrame(tools.canvas, tools.sheets, kAvatarPanel.x, kAvatarPanel.y, kAvatarPanel.width,
                 kAvatarPanel.height);
  drawSprite(tools.canvas, tools.sheets, kAvatarX, kAvatarY, sprites::kAvatar);
}

}  // namespace orelog
