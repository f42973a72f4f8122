// The log page: range buttons, the history chart laid out for the page, and the event list.
#include "ui/log_page.h"

#include <algorithm>
#include <charconv>

#include "game/characters.h"
#include "game/scroll_bar.h"
#include "ui/draw.h"
#include "ui/draw_text.h"
#include "ui/palette.h"
#include "ui/sprite_regions.h"
#include "util/iso_time.h"

namespace orelog {

namespace {

using namespace log_layout;

constexpr int32_t kCaptionTop = 3;  // a button caption below the button's top
constexpr int kAmountDecimals = 8;  // the pool's amounts in satoshi
constexpr std::size_t kAmountTextCapacity = 400;

// A panel button: the blue panel frame with its caption; the chosen one is ringed in white.
void drawRangeButton(PageTools& tools, const LogRange& range, bool chosen) {
  const Rect& b = range.button;
  drawPanelFrame(tools.canvas, tools.sheets, b.x, b.y, b.width, b.height);
  if (chosen) {
    const int32_t right = b.x + b.width - 1, bottom = b.y + b.height - 1;
    drawLine(tools.canvas, b.x + 1, b.y, right - 1, b.y, palette::kTextWhite);
    drawLine(tools.canvas, b.x + 1, bottom, right - 1, bottom, palette::kTextWhite);
    drawLine(tools.canvas, b.x, b.y + 1, b.x, bottom - 1, palette::kTextWhite);
    drawLine(tools.canvas, right, b.y + 1, right, bottom - 1, palette::kTextWhite);
  }
  drawText(tools.text, tools.canvas, range.caption, b.x + b.width / 2, b.y + kCaptionTop, FontSize::Small,
           TextAlign::Centre, palette::kTextWhite);
}

std::u16string twoDigits(int value) {
  return (value < 10 ? u"0" : u"") + decimalText(value);
}

// An amount with up to eight decimals and no trailing zeros: "0.125", "3".
std::u16string amountText(double amount) {
  char text[kAmountTextCapacity];
  const auto [end, ec] = std::to_chars(text, text + sizeof text, amount, std::chars_format::fixed, kAmountDecimals);
  if (ec != std::errc()) return u"?";
  std::string digits(text, end);
  digits.erase(digits.find_last_not_of('0') + 1);
  if (digits.back() == '.') digits.pop_back();
  return asciiText(digits);
}

void drawEvent(PageTools& tools, const HistoryEvent& event, int32_t top) {
  drawLabel(tools, eventTimeText(event.utcSeconds, event.utcOffsetMinutes), kEventList.x, top);
  drawLabel(tools, eventText(tools.text, event, kEventList.width), kEventList.x, top + kEventTextLineY);
}

void drawEventList(PageTools& tools, const LogPageState& log) {
  drawPanelFrame(tools.canvas, tools.sheets, kEventPanel.x, kEventPanel.y, kEventPanel.width, kEventPanel.height);
  drawLabel(tools, u"できごと", kEventTitle.x, kEventTitle.y);
  const std::vector<HistoryEvent>& events = log.history.events;
  if (events.empty()) {
    drawLabel(tools, kNoEventsYet, kEventList.x, kEventList.y);
    return;
  }
  const auto first = static_cast<std::size_t>(
      std::clamp(log.eventsBar.firstRow, 0, std::max(static_cast<int32_t>(events.size()) - kVisibleEvents, 0)));
  for (std::size_t i = first; i < events.size() && i < first + kVisibleEvents; ++i)
    drawEvent(tools, events[i], kEventList.y + kEventRowHeight * static_cast<int32_t>(i - first));
  drawListScrollBar(tools.canvas, log.eventsBar);
}

}  // namespace

void initLogPage(LogPageState& log) {
  log = LogPageState{};
  log.days = kRanges[0].days;
  log.eventsBar.x = kEventList.x + kEventList.width;
  log.eventsBar.y = kEventList.y;
  log.eventsBar.height = kEventList.height;
  log.eventsBar.visibleRows = kVisibleEvents;
}

void syncLogEvents(LogPageState& log) {
  ListScrollBar& bar = log.eventsBar;
  bar.rowCount = static_cast<int32_t>(log.history.events.size());
  bar.firstRow = std::clamp(bar.firstRow, 0, std::max(bar.rowCount - bar.visibleRows, 0));
}

bool pressLogPage(LogPageState& log, int32_t x, int32_t y) {
  for (const LogRange& range : kRanges) {
    if (!contains(range.button, x, y)) continue;
    const bool changed = log.days != range.days;
    log.days = range.days;
    return changed;
  }
  const int32_t before = log.eventsBar.firstRow;
  pressScrollBar(log.eventsBar, x, y);
  return log.eventsBar.firstRow != before;
}

std::u16string eventTimeText(int64_t utcSeconds, int32_t utcOffsetMinutes) {
  const DateTime local = localDateTimeAt(utcSeconds, utcOffsetMinutes);
  return decimalText(local.month) + u"/" + decimalText(local.day) + u" " + twoDigits(local.hour) + u":" +
         twoDigits(local.minute);
}

std::u16string eventText(TextRenderer& text, const HistoryEvent& event, int32_t room) {
  switch (event.kind) {
    case HistoryEvent::Kind::Payout:
      return fittedText(text, u"入金 " + amountText(event.amount), FontSize::Small, room);
    case HistoryEvent::Kind::Restarted:
      return fittedText(text, u"記録を再開", FontSize::Small, room);
    case HistoryEvent::Kind::WorkerStopped:
    case HistoryEvent::Kind::WorkerRunning:
      break;
  }
  const std::u16string_view what = event.kind == HistoryEvent::Kind::WorkerStopped ? u" 停止" : u" 再開";
  std::u16string name = withoutMissingGlyphs(text, workerDisplayName(event.worker), FontSize::Small);
  if (name.empty()) name = u"?";
  return fittedText(text, name, FontSize::Small, room - text.textWidth(what, FontSize::Small)) + std::u16string(what);
}

void drawLogPage(PageTools& tools, const LogPageState& log) {
  drawPageFurniture(tools, palette::kPageBlue, sprites::kLogBanner);
  for (const LogRange& range : kRanges) drawRangeButton(tools, range, range.days == log.days);
  drawHistoryChart(tools, log.history.rows, log.days, kChart);
  drawEventList(tools, log);
}

}  // namespace orelog
