// The log page: the history chart of the chosen range, the range buttons and the latest events.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "ui/game_screen.h"
#include "ui/history_chart.h"
#include "ui/pages.h"

namespace orelog {

struct LogRange {
  Rect button;
  int32_t days = 1;
  std::u16string_view caption;
};

namespace log_layout {
inline constexpr std::array<LogRange, 3> kRanges = {{{{32, 60, 52, 16}, 1, u"24時間"},
                                                     {{88, 60, 52, 16}, 7, u"7日間"},
                                                     {{144, 60, 52, 16}, 30, u"30日間"}}};
inline constexpr HistoryChartLayout kChart{{8, 80, 332, 188}, {48, 103, 284, 141}, 44, 86, {12, 272}, 108, 3, 2};
inline constexpr Rect kEventPanel{344, 80, 128, 216};
inline constexpr Point kEventTitle{348, 63};
// Each event takes two lines: its time, then what happened.
inline constexpr Rect kEventList{350, 86, 102, 198};
inline constexpr int32_t kEventRowHeight = 22;
inline constexpr int32_t kEventTextLineY = 11;  // the second line, below the row's top
inline constexpr int32_t kVisibleEvents = kEventList.height / kEventRowHeight;
}  // namespace log_layout

inline constexpr std::u16string_view kNoEventsYet = u"まだありません";

// The range at start and an empty list with its scroll bar in place.
void initLogPage(LogPageState& log);
// After the history changed: the scroll bar counts the events, its position kept in range.
void syncLogEvents(LogPageState& log);
// A press on the page: a range button picks its range, the scroll bar moves the list. True when
// the page changed.
bool pressLogPage(LogPageState& log, int32_t x, int32_t y);

// "M/D HH:MM" in the row's own time zone.
std::u16string eventTimeText(int64_t utcSeconds, int32_t utcOffsetMinutes);
// What happened, on one line of `room` pixels: a worker's name is cut with "…" to leave room
// for what it did, and keeps no character the font lacks.
std::u16string eventText(TextRenderer& text, const HistoryEvent& event, int32_t room);

void drawLogPage(PageTools& tools, const LogPageState& log);

}  // namespace orelog
