// The history chart: the rows of the period, the value and time axes, the shading, the lines, the
// title and the legend.
#include "ui/history_chart.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "game/characters.h"
#include "game/mining_power.h"
#include "ui/draw.h"
#include "ui/draw_text.h"
#include "ui/palette.h"
#include "util/hashrate.h"
#include "util/iso_time.h"

namespace orelog {
namespace {

constexpr int32_t kTitleX = 12;
constexpr int32_t kTitleY = 5;
constexpr int32_t kPeriodRightX = 508;
constexpr int32_t kPeriodY = 8;
constexpr int32_t kSmallTextMiddle = 5;  // from a small text's top to its middle
constexpr int32_t kDateLabelGap = 3;     // below the plot
constexpr int32_t kLegendRowStep = 14;
constexpr int32_t kSwatchSize = 8;
constexpr int32_t kSwatchTop = 2;  // below the text's top
constexpr int32_t kSwatchTextGap = 3;
constexpr int32_t kLegendSlotGap = 4;  // between a name and the next slot
constexpr int64_t kMostValueSteps = 5;
constexpr int64_t kLeastDateLabelSpacing = 48;  // pixels
// A chart spans at least this long, so a single row still has a place on it.
constexpr int64_t kLeastChartSeconds = 10 * 60;
// Time label spacings, in minutes; the first that leaves room for the labels is taken.
constexpr int64_t kTickMinutes[] = {10,   15,   30,    60,    120,   180,    360,   720,
                                    1440, 2880, 10080, 20160, 43200, 129600, 525600};
constexpr int64_t kStepMultipliers[] = {1, 2, 5};

constexpr Pixel kGridBlue = rgb(48, 80, 232);
// A slate grey: plainly apart from the blue panel and page, and darker than every line.
constexpr Pixel kStoppedShade = rgb(112, 112, 144);
constexpr Pixel kWorkerColours[] = {rgb(255, 220, 64),  rgb(255, 128, 192), rgb(96, 232, 128),
                                    rgb(255, 160, 64),  rgb(96, 224, 255),  rgb(200, 160, 255),
                                    rgb(255, 96, 96),   rgb(192, 255, 96)};

using Series = std::vector<std::optional<double>>;  // KH/s or none per row of the period

// The period's rows in time order and everything derived from them.
struct Chart {
  int64_t start = 0, end = 0;  // seconds since the epoch
  int32_t utcOffsetMinutes = 0;
  std::vector<const HistoryRow*> rows;
  std::map<std::string, Series> workers;  // by user name, in byte order
  int64_t gapSeconds = kHistoryGapSeconds;
  PowerUnit unit = powerUnitOf(0);
  int64_t stepUnits = 1, topUnits = 1;
  Rect plot;
  int32_t plotRight() const { return plot.x + plot.width - 1; }
  int32_t plotBottom() const { return plot.y + plot.height - 1; }
};

// Whole steps of 1, 2 or 5 times a power of ten in the unit the largest figure reads in, at most
// kMostValueSteps of them.
void chooseValueAxis(Chart& chart, int64_t mostKhs) {
  chart.unit = powerUnitOf(mostKhs);
  const int64_t mostUnits = mostKhs <= 0 ? 0 : mostKhs / chart.unit.khs + (mostKhs % chart.unit.khs != 0 ? 1 : 0);
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
  chart.gapSeconds = historyGapSeconds(std::move(spacings));
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

Chart chartOf(std::span<const HistoryRow> rows, int32_t days, const Rect& plot) {
  Chart chart;
  chart.plot = plot;
  for (const HistoryRow& row : rows) chart.rows.push_back(&row);
  std::stable_sort(chart.rows.begin(), chart.rows.end(),
                   [](const HistoryRow* a, const HistoryRow* b) { return a->utcSeconds < b->utcSeconds; });
  if (chart.rows.empty()) return chart;
  chart.end = chart.rows.back()->utcSeconds;
  const int64_t periodStart = chart.end - int64_t{std::clamp(days, 1, kMostHistoryDays)} * kSecondsPerDay;
  chart.utcOffsetMinutes = chart.rows.back()->utcOffsetMinutes;
  std::erase_if(chart.rows, [&](const HistoryRow* row) { return row->utcSeconds < periodStart; });
  // A history shorter than the period runs across the whole plot from its first row.
  chart.start = std::min(chart.rows.front()->utcSeconds, chart.end - kLeastChartSeconds);
  collectWorkers(chart);
  chooseGap(chart);
  int64_t most = 0;
  for (const HistoryRow* row : chart.rows) {
    most = std::max(most, wholeKhs(std::ceil(row->totalKhs)));
    for (const auto& worker : row->workers) most = std::max(most, wholeKhs(std::ceil(worker.second)));
  }
  chooseValueAxis(chart, most);
  return chart;
}

int32_t xOf(const Chart& chart, int64_t seconds) {
  const int64_t span = chart.end - chart.start;
  return static_cast<int32_t>(chart.plot.x + (seconds - chart.start) * (chart.plot.width - 1) / span);
}

double khsOf(const Chart& chart, int64_t units) {
  return static_cast<double>(units) * static_cast<double>(chart.unit.khs);
}

int32_t yOf(const Chart& chart, double khs) {
  const double top = khsOf(chart, chart.topUnits);
  // The height above the bottom truncates, as it does for the whole KH/s of older rows.
  return chart.plotBottom() - static_cast<int32_t>(std::clamp(khs, 0.0, top) * (chart.plot.height - 1) / top);
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
    fillRect(canvas, left, chart.plot.y, right + 1, chart.plotBottom() + 1, kStoppedShade);
  }
}

void drawValueAxis(PageTools& tools, const Chart& chart, const HistoryChartLayout& layout) {
  for (int64_t units = 0; units <= chart.topUnits; units += chart.stepUnits) {
    const int32_t y = yOf(chart, khsOf(chart, units));
    drawLine(tools.canvas, chart.plot.x, y, chart.plotRight(), y, kGridBlue);
    drawText(tools.text, tools.canvas, decimalText(units), layout.valueLabelRightX, y - kSmallTextMiddle,
             FontSize::Small, TextAlign::Right, palette::kTextWhite);
  }
  drawText(tools.text, tools.canvas, chart.unit.caption, layout.valueLabelRightX,
           layout.unitCaptionY, FontSize::Small, TextAlign::Right, palette::kTextWhite);
}

std::u16string twoDigits(int value) {
  return (value < 10 ? u"0" : u"") + decimalText(value);
}

// "M/D" at midnight, else "HH:MM".
std::u16string timeLabel(int64_t seconds, int32_t utcOffsetMinutes) {
  const DateTime local = localDateTimeAt(seconds, utcOffsetMinutes);
  if (local.hour == 0 && local.minute == 0) return decimalText(local.month) + u"/" + decimalText(local.day);
  return twoDigits(local.hour) + u":" + twoDigits(local.minute);
}

void drawTimeAxis(PageTools& tools, const Chart& chart) {
  const int64_t span = chart.end - chart.start;
  int64_t tick = kTickMinutes[std::size(kTickMinutes) - 1] * kSecondsPerMinute;
  for (const int64_t minutes : kTickMinutes) {
    if (minutes * kSecondsPerMinute * (chart.plot.width - 1) >= kLeastDateLabelSpacing * span) {
      tick = minutes * kSecondsPerMinute;
      break;
    }
  }
  const int64_t shift = int64_t{chart.utcOffsetMinutes} * kSecondsPerMinute;  // ticks fall on local hours
  for (int64_t local = -floorDivide(-(chart.start + shift), tick) * tick; local - shift <= chart.end; local += tick) {
    const int32_t x = xOf(chart, local - shift);
    drawLine(tools.canvas, x, chart.plot.y, x, chart.plotBottom(), kGridBlue);
    drawText(tools.text, tools.canvas, timeLabel(local - shift, chart.utcOffsetMinutes), x,
             chart.plotBottom() + kDateLabelGap,
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

// Every worker has a slot while they fit; otherwise the last slot counts the rest.
std::vector<LegendEntry> legendOf(const Chart& chart, std::size_t slots) {
  std::vector<LegendEntry> entries{{u"合計", palette::kTextWhite}, {u"停止", kStoppedShade}};
  std::size_t index = 0;
  const std::size_t room = slots > entries.size() ? slots - entries.size() : 0;
  for (const auto& worker : chart.workers) {
    if (chart.workers.size() > room && index + 1 >= room) {
      if (room > 0) {
        entries.push_back({u"ほか" + decimalText(static_cast<int64_t>(chart.workers.size() - index)), std::nullopt});
      }
      break;
    }
    entries.push_back({workerDisplayName(worker.first), workerColour(index++)});
  }
  return entries;
}

// A name as the slot shows it: without the characters the font lacks, cut with "…" to its room.
std::u16string legendText(TextRenderer& text, std::u16string_view name, int32_t room) {
  std::u16string shown = withoutMissingGlyphs(text, name, FontSize::Small);
  if (shown.empty()) shown = u"?";
  return fittedText(text, shown, FontSize::Small, room);
}

void drawLegend(PageTools& tools, const Chart& chart, const HistoryChartLayout& layout) {
  const auto slots = static_cast<std::size_t>(layout.legendSlotsPerRow * layout.legendRows);
  const std::vector<LegendEntry> entries = legendOf(chart, slots);
  for (std::size_t slot = 0; slot < entries.size(); ++slot) {
    const int32_t x = layout.legend.x + layout.legendSlotWidth * static_cast<int32_t>(slot % layout.legendSlotsPerRow);
    const int32_t y = layout.legend.y + kLegendRowStep * static_cast<int32_t>(slot / layout.legendSlotsPerRow);
    int32_t textX = x;
    if (entries[slot].swatch) {
      fillRect(tools.canvas, x, y + kSwatchTop, x + kSwatchSize, y + kSwatchTop + kSwatchSize, *entries[slot].swatch);
      textX += kSwatchSize + kSwatchTextGap;
    }
    const int32_t room = x + layout.legendSlotWidth - kLegendSlotGap - textX;
    drawLabel(tools, legendText(tools.text, entries[slot].text, room), textX, y);
  }
}

}  // namespace

void drawHistoryChart(PageTools& tools, std::span<const HistoryRow> rows, int32_t days,
                      const HistoryChartLayout& layout) {
  drawPanelFrame(tools.canvas, tools.sheets, layout.panel.x, layout.panel.y, layout.panel.width, layout.panel.height);
  const Chart chart = chartOf(rows, days, layout.plot);
  if (chart.rows.empty()) {
    drawText(tools.text, tools.canvas, kNoHistoryYet, layout.plot.x + layout.plot.width / 2,
             layout.plot.y + layout.plot.height / 2 - kSmallTextMiddle, FontSize::Small, TextAlign::Centre,
             palette::kTextWhite);
    return;
  }
  shadeStoppedStretches(tools.canvas, chart);
  drawValueAxis(tools, chart, layout);
  drawTimeAxis(tools, chart);
  std::size_t index = 0;
  for (const auto& worker : chart.workers) drawSeries(tools.canvas, chart, worker.second, workerColour(index++), 1);
  drawSeries(tools.canvas, chart, totals(chart), palette::kTextWhite, 2);
  drawLegend(tools, chart, layout);
}

void drawHistoryPicture(PageTools& tools, std::span<const HistoryRow> rows, int32_t days) {
  fillRect(tools.canvas, 0, 0, tools.canvas.width, tools.canvas.height, palette::kPageBlue);
  drawText(tools.text, tools.canvas, u"ハッシュレートの推移", kTitleX, kTitleY, FontSize::Medium, TextAlign::Left,
           palette::kTextWhite);
  drawText(tools.text, tools.canvas, u"直近" + decimalText(std::clamp(days, 1, kMostHistoryDays)) + u"日間",
           kPeriodRightX, kPeriodY, FontSize::Small, TextAlign::Right, palette::kTextWhite);
  drawHistoryChart(tools, rows, days, kFullCanvasChart);
}

}  // namespace orelog
