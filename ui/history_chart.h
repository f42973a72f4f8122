// The history chart: total hashrate over time and a thin line per worker, on the page canvas.
#pragma once
#include <cstdint>
#include <span>

#include "profile/history_rows.h"
#include "ui/pages.h"

namespace orelog {

inline constexpr int32_t kDefaultHistoryDays = 7;
inline constexpr int32_t kMostHistoryDays = 3650;

// Rows further apart than this, and than kHistoryGapSpacings times the usual spacing of the rows (the
// median), have a stretch without figures between them (the game was not running): the lines break
// there.
inline constexpr int64_t kHistoryGapSeconds = 10 * 60;
inline constexpr int64_t kHistoryGapSpacings = 4;

// The rows of the `days` (1 to kMostHistoryDays) up to the newest row, in any order, drawn on a
// 520 x 300 canvas in the pages' style: the total as a thick white line and each worker as a thin
// line of its own colour; stretches where the total was 0 shaded; the value axis in KH/s, or in MH/s
// from 1000 KH/s on as every hashrate reads in the game; dates along the bottom in the newest row's
// time zone; a legend of the workers. With no rows it draws the frame alone: callers say there is
// no history instead.
void drawHistoryChart(PageTools& tools, std::span<const HistoryRow> rows, int32_t days);

}  // namespace orelog
