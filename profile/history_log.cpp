// The log page's rows and events, kept as updates add rows.
#include "profile/history_log.h"

#include <algorithm>

#include "profile/history_append.h"
#include "services/record_file.h"
#include "util/iso_time.h"

namespace orelog {

namespace {

const std::pair<std::string, double>* workerIn(const HistoryRow& row, const std::string& name) {
  for (const auto& worker : row.workers)
    if (worker.first == name) return &worker;
  return nullptr;
}

HistoryEvent eventAt(const HistoryRow& row, HistoryEvent::Kind kind) {
  HistoryEvent event;
  event.kind = kind;
  event.utcSeconds = row.utcSeconds;
  event.utcOffsetMinutes = row.utcOffsetMinutes;
  return event;
}

// What happened from one row to the next, in the order the list shows them: the restart, the
// payout, then the workers in the row's order.
std::vector<HistoryEvent> eventsBetween(const HistoryRow& previous, const HistoryRow& row, int64_t gapSeconds) {
  std::vector<HistoryEvent> events;
  if (row.utcSeconds - previous.utcSeconds > gapSeconds) events.push_back(eventAt(row, HistoryEvent::Kind::Restarted));
  if (row.payout > previous.payout) {
    HistoryEvent payout = eventAt(row, HistoryEvent::Kind::Payout);
    payout.amount = row.payout - previous.payout;
    events.push_back(payout);
  }
  for (const auto& [name, khs] : row.workers) {
    const auto* before = workerIn(previous, name);
    if (!before || (before->second > 0) == (khs > 0)) continue;
    HistoryEvent change = eventAt(row, khs > 0 ? HistoryEvent::Kind::WorkerRunning : HistoryEvent::Kind::WorkerStopped);
    change.worker = name;
    events.push_back(change);
  }
  return events;
}

void prependEvents(HistoryLog& log, const std::vector<HistoryEvent>& events) {
  log.events.insert(log.events.begin(), events.begin(), events.end());
  if (log.events.size() > kMostLogEvents) log.events.resize(kMostLogEvents);
}

// Rows older than kLogDays before the newest go; they are dropped a day at a time, not one by one.
void dropOldRows(HistoryLog& log) {
  if (log.rows.empty()) return;
  const int64_t oldestKept = log.rows.back().utcSeconds - int64_t{kLogDays} * kSecondsPerDay;
  if (log.rows.front().utcSeconds >= oldestKept - kSecondsPerDay) return;
  std::erase_if(log.rows, [oldestKept](const HistoryRow& row) { return row.utcSeconds < oldestKept; });
}

}  // namespace

int64_t historyGapSeconds(std::vector<int64_t> spacings) {
  if (spacings.empty()) return kHistoryGapSeconds;
  const auto middle = spacings.begin() + static_cast<std::ptrdiff_t>(spacings.size() / 2);
  std::nth_element(spacings.begin(), middle, spacings.end());
  return std::max(kHistoryGapSeconds, *middle * kHistoryGapSpacings);
}

void setHistoryRows(HistoryLog& log, std::vector<HistoryRow> rows) {
  std::stable_sort(rows.begin(), rows.end(),
                   [](const HistoryRow& a, const HistoryRow& b) { return a.utcSeconds < b.utcSeconds; });
  log.rows = std::move(rows);
  log.loaded = true;
  log.events.clear();
  if (!log.rows.empty()) {
    const int64_t oldestKept = log.rows.back().utcSeconds - int64_t{kLogDays} * kSecondsPerDay;
    std::erase_if(log.rows, [oldestKept](const HistoryRow& row) { return row.utcSeconds < oldestKept; });
  }
  std::vector<int64_t> spacings;
  for (std::size_t i = 1; i < log.rows.size(); ++i) spacings.push_back(log.rows[i].utcSeconds - log.rows[i - 1].utcSeconds);
  log.gapSeconds = historyGapSeconds(std::move(spacings));
  // From the newest pair back, until the list is full.
  for (std::size_t i = log.rows.size(); i-- > 1 && log.events.size() < kMostLogEvents;) {
    for (HistoryEvent& event : eventsBetween(log.rows[i - 1], log.rows[i], log.gapSeconds))
      if (log.events.size() < kMostLogEvents) log.events.push_back(std::move(event));
  }
  ++log.version;
}

void addHistoryRow(HistoryLog& log, HistoryRow row) {
  if (!log.rows.empty()) prependEvents(log, eventsBetween(log.rows.back(), row, log.gapSeconds));
  log.rows.push_back(std::move(row));
  dropOldRows(log);
  ++log.version;
}

std::vector<HistoryRow> readHistoryRows(const std::filesystem::path& file) {
  const RecordFileRead read = readRecordFile(file, kHistoryReadLimit);
  if (read.state != RecordFileState::Read) return {};
  auto rows = parseHistory(read.bytes);
  return rows ? std::move(*rows) : std::vector<HistoryRow>();
}

}  // namespace orelog
