// The history chart: the rows of the period, the value and time axes, the shading, the lines, the
// title and the legend.
#include "ui/history_chart.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "game/characters.h"
#include "game/mining_power.h"
#include "ui/draw.h"
#include "ui/palette.h"
#include "util/iso_time.h"
#include "util/utf.h"

namespace orelog {
namespace {

constexpr Rect kPanel{8, 24, 504, 242};
constexpr Rect kPlot{60, 48, 440, 186};  // where the lines are drawn
constexpr int32_t kPlotRight = kPlot.x + kPlot.width - 1;
constexpr int32_t kPlotBottom = kPlot.y + kPlot.height - 1;
constexpr int32_t kTitleX = 12;
constexpr int32_t kTitleY = 5;
constexpr int32_t kPeriodRightX = 508;
constexpr int32_t kPeriodY = 8;
constexpr int32_t kValueLabelRightX = 54;
constexpr int32_t kUnitCaptionY = 31;
constexpr int32_t kSmallTextMiddle = 5;  // from a small text's top to its middle
constexpr int32_t kDateLabelY = kPlotBottom + 3;
constexpr int32_t kLegendLeft = 12;
constexpr int32_t kLegendTop = 271;
constexpr int32_t kLegendRowStep = 14;
constexpr int32_t kLegendSlotWidth = 84;
constexpr int32_t kLegendSlotsPerRow = 6;
constexpr int32_t kLegendSlots = 2 * kLegendSlotsPerRow;
constexpr int32_t kSwatchSize = 8;
constexpr int32_t kSwatchTop = 2;  // below the text's top
constexpr int32_t kSwatchTextGap = 3;
constexpr std::size_t kLegendNameUnits = 6;
constexpr int64_t kMostValueSteps = 5;
constexpr int64_t kLeastDateLabelSpacing = 48;  // pixels
// Date label spacings, in hours; the first that leaves room for the labels is taken.
constexpr int64_t kTickHours[] = {1, 2, 3, 6, 12, 24, 48, 168, 336, 720, 2160, 8760};
constexpr int64_t kStepMultipliers[] = {1, 2, 5};

constexpr Pixel kGridBlue = rgb(48, 80, 232);
constexpr Pixel kStoppedShade = rgb(24, 32, 120);
constexpr Pixel kWorkerColours[] = {rgb(255, 220, 64),  rgb(255, 128, 192), rgb(96, 232, 128),
                                    rgb(255, 160, 64),  rgb(96, 224, 255),  rgb(200, 160, 255),
                                    rgb(255, 96, 96),   rgb(192, 255, 96)};

using Series = std::vector<std::optional<int64_t>>;  // one value or none per row of the period

// The period's rows in time order and everything derived from them.
struct Chart {
  int64_t start = 0, end = 0;  // seconds since the epoch
  int32_t utcOffsetMinutes = 0;
  std::vector<const HistoryRow*> rows;
  std::map<std::string, Series> workers;  // by user name, in byte order
  int64_t gapSeconds = kHistoryGapSeconds;
  int64_t unitKhs = 1, stepUnits = 1, topUnits = 1;
};

// Whole steps of 1, 2 or 5 times a power of ten in the game's unit, at most kMostValueSteps of them.
void chooseValueAxis(Chart& chart, int64_t mostKhs) {
  chart.unitKhs = readsInMegahashes(mostKhs) ? kKiloPerMega : 1;
  const int64_t mostUnits = mostKhs <= 0 ? 0 : (mostKhs + chart.unitKhs - 1) / chart.unitKhs;
  for (int64_t decade = 1; chart.stepUnits * kMostValueSteps < mostUnits; decade *= 10) {
    for (const int64_t multiplier : kStepMultipliers) {
      chart.stepUnits = multiplier * decade;
      if (chart.stepUnits * kMostValueSteps >= mostUnits) break;
    }
  }
  chart.topUnits = std::max(chart.stepUnits, (mostUnits + chart.stepUnits - 1) / chart.stepUnits * chart.stepUnits);
}

void chooseGap(Chart& chart) {
  std::vector<int64_t> spacings;
  for (std::size_t i = 1; i < chart.rows.size(); ++i)
    spacings.push_back(chart.rows[i]->utcSeconds - chart.rows[i - 1]->utcSeconds);
  if (spacings.empty()) return;
  const auto middle = spacings.begin() + static_cast<std::ptrdiff_t>(spacings.size() / 2);
  std::nth_element(spacings.begin(), middle, spacings.end());
  chart.gapSeconds = std::max(kHistoryGapSeconds, *middle * kHistoryGapSpacings);
}

void collectWorkers(Chart& chart) {
  for (std::size_t i = 0; i < chart.rows.size(); ++i) {
    for (const auto& [name, khs] : chart.rows[i]->workers) {
      Series& series = chart.workers[name];
      series.resize(chart.rows.size());
      series[i] = khs;
    }
  }
}

Chart chartOf(std::span<const HistoryRow> rows, int32_t days) {
  Chart chart;
  for (const HistoryRow& row : rows) chart.rows.push_back(&row);
  std::stable_sort(chart.rows.begin(), chart.rows.end(),
                   [](const HistoryRow* a, const HistoryRow* b) { return a->utcSeconds < b->utcSeconds; });
  if (chart.rows.empty()) return chart;
  chart.end = chart.rows.back()->utcSeconds;
  chart.start = chart.end - int64_t{std::clamp(days, 1, kMostHistoryDays)} * kSecondsPerDay;
  chart.utcOffsetMinutes = chart.rows.back()->utcOffsetMinutes;
  std::erase_if(chart.rows, [&](const HistoryRow* row) { return row->utcSeconds < chart.start; });
  collectWorkers(chart);
  chooseGap(chart);
  int64_t most = 0;
  for (const HistoryRow* row : chart.rows) {
    most = std::max<int64_t>(most, row->totalKhs);
    for (const auto& worker : row->workers) most = std::max<int64_t>(most, worker.second);
  }
  chooseValueAxis(chart, most);
  return chart;
}

int32_t xOf(const Chart& chart, int64_t seconds) {
  const int64_t span = chart.end - chart.start;
  return static_cast<int32_t>(kPlot.x + (seconds - chart.start) * (kPlot.width - 1) / span);
}

int32_t yOf(const Chart& chart, int64_t khs) {
  const int64_t top = chart.topUnits * chart.unitKhs;
  return static_cast<int32_t>(kPlotBottom - std::clamp<int64_t>(khs, 0, top) * (kPlot.height - 1) / top);
}

bool joined(const Chart& chart, std::size_t i) {
  return i > 0 && chart.rows[i]->utcSeconds - chart.rows[i - 1]->utcSeconds <= chart.gapSeconds;
}

// Where the pool reported no hashrate at all, up to the next row (or one pixel for the last).
void shadeStoppedStretches(Canvas& canvas, const Chart& chart) {
  for (std::size_t i = 0; i < chart.rows.size(); ++i) {
    if (chart.rows[i]->totalKhs > 0) continue;
    const int32_t left = xOf(chart, chart.rows[i]->utcSeconds);
    const bool next = i + 1 < chart.rows.size() && joined(chart, i + 1);
    const int32_t right = next ? xOf(chart, chart.rows[i + 1]->utcSeconds) : left;
    fillRect(canvas, left, kPlot.y, right + 1, kPlotBottom + 1, kStoppedShade);
  }
}

void drawValueAxis(PageTools& tools, const Chart& chart) {
  for (int64_t units = 0; units <= chart.topUnits; units += chart.stepUnits) {
    const int32_t y = yOf(chart, units * chart.unitKhs);
    drawLine(tools.canvas, kPlot.x, y, kPlotRight, y, kGridBlue);
    drawText(tools.text, tools.canvas, decimalText(units), kValueLabelRightX, y - kSmallTextMiddle, FontSize::Small,
             TextAlign::Right, palette::kTextWhite);
  }
  drawText(tools.text, tools.canvas, chart.unitKhs == 1 ? u"KH/s" : u"MH/s", kValueLabelRightX, kUnitCaptionY,
           FontSize::Small, TextAlign::Right, palette::kTextWhite);
}

// "M/D" at midnight, else "HH:00".
std::u16string timeLabel(int64_t seconds, int32_t utcOffsetMinutes) {
  const DateTime local = localDateTimeAt(seconds, utcOffsetMinutes);
  if (local.hour == 0) return decimalText(local.month) + u"/" + decimalText(local.day);
  return (local.hour < 10 ? u"0" : u"") + decimalText(local.hour) + u":00";
}

void drawTimeAxis(PageTools& tools, const Chart& chart) {
  const int64_t span = chart.end - chart.start;
  int64_t tick = kTickHours[std::size(kTickHours) - 1] * kSecondsPerHour;
  for (const int64_t hours : kTickHours) {
    if (hours * kSecondsPerHour * (kPlot.width - 1) >= kLeastDateLabelSpacing * span) {
      tick = hours * kSecondsPerHour;
      break;
    }
  }
  const int64_t shift = int64_t{chart.utcOffsetMinutes} * kSecondsPerMinute;  // ticks fall on local hours
  for (int64_t local = -floorDivide(-(chart.start + shift), tick) * tick; local - shift <= chart.end; local += tick) {
    const int32_t x = xOf(chart, local - shift);
    drawLine(tools.canvas, x, kPlot.y, x, kPlotBottom, kGridBlue);
    drawText(tools.text, tools.canvas, timeLabel(local - shift, chart.utcOffsetMinutes), x, kDateLabelY,
             FontSize::Small, TextAlign::Centre, palette::kTextWhite);
  }
}

// Rows further apart than the gap, or a row without a value, break the line; a value alone is a dot.
void drawSeries(Canvas& canvas, const Chart& chart, const Series& series, Pixel colour, int32_t thickness) {
  for (std::size_t i = 0; i < series.size(); ++i) {
    if (!series[i]) continue;
    const int32_t x = xOf(chart, chart.rows[i]->utcSeconds), y = yOf(chart, *series[i]);
    const bool fromPrevious = joined(chart, i) && series[i - 1];
    const int32_t x0 = fromPrevious ? xOf(chart, chart.rows[i - 1]->utcSeconds) : x;
    const int32_t y0 = fromPrevious ? yOf(chart, *series[i - 1]) : y;
    for (int32_t line = 0; line < thickness; ++line) drawLine(canvas, x0, y0 - line, x, y - line, colour);
  }
}

Series totals(const Chart& chart) {
  Series series;
  for (const HistoryRow* row : chart.rows) series.push_back(row->totalKhs);
  return series;
}

Pixel workerColour(std::size_t index) {
  return kWorkerColours[index % std::size(kWorkerColours)];
}

struct LegendEntry {
  std::u16string text;
  std::optional<Pixel> swatch;
};

std::vector<LegendEntry> legendOf(const Chart& chart) {
  std::vector<LegendEntry> entries{{u"合計", palette::kTextWhite}, {u"停止", kStoppedShade}};
  std::size_t index = 0;
  const std::size_t room = kLegendSlots - entries.size();
  for (const auto& worker : chart.workers) {
    if (chart.workers.size() > room && index + 1 == room) {
      entries.push_back({u"ほか" + decimalText(static_cast<int64_t>(chart.workers.size() - index)), std::nullopt});
      break;
    }
    const std::u16string name = workerDisplayName(worker.first);
    entries.push_back({truncateUtf16(name.empty() ? u"?" : name, kLegendNameUnits), workerColour(index++)});
  }
  return entries;
}

void drawLegend(PageTools& tools, const Chart& chart) {
  const std::vector<LegendEntry> entries = legendOf(chart);
  for (std::size_t slot = 0; slot < entries.size(); ++slot) {
    const int32_t x = kLegendLeft + kLegendSlotWidth * static_cast<int32_t>(slot % kLegendSlotsPerRow);
    const int32_t y = kLegendTop + kLegendRowStep * static_cast<int32_t>(slot / kLegendSlotsPerRow);
    int32_t textX = x;
    if (entries[slot].swatch) {
      fillRect(tools.canvas, x, y + kSwatchTop, x + kSwatchSize, y + kSwatchTop + kSwatchSize, *entries[slot].swatch);
      textX += kSwatchSize + kSwatchTextGap;
    }
    drawLabel(tools, entries[slot].text, textX, y);
  }
}

}  // namespace

void drawHistoryChart(PageTools& tools, std::span<const HistoryRow> rows, int32_t days) {
  fillRect(tools.canvas, 0, 0, tools.canvas.width, tools.canvas.height, palette::kPageBlue);
  drawPanelFrame(tools.canvas, tools.sheets, kPanel.x, kPanel.y, kPanel.width, kPanel.height);
  drawText(tools.text, tools.canvas, u"ハッシュレートの推移", kTitleX, kTitleY, FontSize::Medium, TextAlign::Left,
           palette::kTextWhite);
  drawText(tools.text, tools.canvas, u"直近" + decimalText(std::clamp(days, 1, kMostHistoryDays)) + u"日間",
           kPeriodRightX, kPeriodY, FontSize::Small, TextAlign::Right, palette::kTextWhite);
  const Chart chart = chartOf(rows, days);
  if (chart.rows.empty()) return;
  shadeStoppedStretches(tools.canvas, chart);
  drawValueAxis(tools, chart);
  drawTimeAxis(tools, chart);
  std::size_t index = 0;
  for (const auto& worker : chart.workers) drawSeries(tools.canvas, chart, worker.second, workerColour(index++), 1);
  drawSeries(tools.canvas, chart, totals(chart), palette::kTextWhite, 2);
  drawLegend(tools, chart);
}

}  // namespace orelog
