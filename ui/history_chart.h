// The history chart: total hashrate over time and a thin line per worker, on the page canvas.
#pragma once
#include <cstdint>
#include <span>
#include <string_view>

#include "profile/history_log.h"
#include "profile/history_rows.h"
#include "ui/pages.h"
#include "util/geometry.h"

namespace orelog {

inline constexpr int32_t kDefaultHistoryDays = 7;
inline constexpr int32_t kMostHistoryDays = 3650;

// What an empty chart says in its plot.
inline constexpr std::u16string_view kNoHistoryYet = u"まだ記録がありません";

// Where the chart's parts go on the canvas: the panel around it, the plot where the lines are, the
// value labels' right edge and the unit caption's top, and the legend's slots below the panel.
struct HistoryChartLayout {
  Rect panel;
  Rect plot;
  int32_t valueLabelRightX = 0;
  int32_t unitCaptionY = 0;
  Point legend;  // the first slot's top-left corner
  int32_t legendSlotWidth = 0;
  int32_t legendSlotsPerRow = 0;
  int32_t legendRows = 0;
};

// The whole canvas, as orelog-tool history draws it under its title.
inline constexpr HistoryChartLayout kFullCanvasChart{{8, 24, 504, 242}, {60, 48, 440, 186}, 54, 31, {12, 271},
                                                     84, 6, 2};

// The rows of the `days` (1 to kMostHistoryDays) up to the newest row, in any order, drawn in the
// layout in the pages' style: the total as a thick white line and each worker as a thin line of its
// own colour; stretches where the total was 0 shaded; the lines broken across gaps (as
// historyGapSeconds finds them); the value axis in the unit its largest figure reads in, as every
// hashrate in the game reads (KH/s, MH/s, GH/s, TH/s or PH/s); times along the bottom in the newest
// row's time zone, hours for a short span and dates for days; a legend of the workers. A history shorter than the
// period runs across the whole plot from its first row. With no rows the plot says kNoHistoryYet.
void drawHistoryChart(PageTools& tools, std::span<const HistoryRow> rows, int32_t days,
                      const HistoryChartLayout& layout);

// orelog-tool history's picture: the page background, the title, the period and the chart over
// the whole canvas.
void drawHistoryPicture(PageTools& tools, std::span<const HistoryRow> rows, int32_t days);

}  // namespace orelog
