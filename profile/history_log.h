// The history the log page shows: the rows of the latest days, kept in memory as updates add them,
// and the events read from them (payouts, workers stopping and running again, the game restarted).
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "profile/history_rows.h"

namespace orelog {

// The longest range the log shows; older rows are let go.
inline constexpr int32_t kLogDays = 30;
// The list keeps this many of the newest events.
inline constexpr std::size_t kMostLogEvents = 200;

// Rows further apart than this, and than kHistoryGapSpacings times the usual spacing of the rows (the
// median), have a stretch without figures between them (the game was not running).
inline constexpr int64_t kHistoryGapSeconds = 10 * 60;
inline constexpr int64_t kHistoryGapSpacings = 4;

struct HistoryEvent {
  enum class Kind { Payout, WorkerStopped, WorkerRunning, Restarted };
  Kind kind = Kind::Payout;
  int64_t utcSeconds = 0;
  int32_t utcOffsetMinutes = 0;
  double amount = 0.0;  // a payout's amount
  std::string worker;   // UTF-8 user name, for a worker's events
  bool operator==(const HistoryEvent&) const = default;
};

struct HistoryLog {
  bool loaded = false;              // the file has been read once
  std::vector<HistoryRow> rows;     // oldest first
  std::vector<HistoryEvent> events; // newest first
  int64_t gapSeconds = kHistoryGapSeconds;
  uint64_t version = 0;             // grows with every change, for views that cache
};

// The spacing past which two neighbouring rows have a gap between them, from the spacings of the
// neighbouring rows in time order.
int64_t historyGapSeconds(std::vector<int64_t> spacings);

// Takes the rows of a whole file (in file order) as the log: the latest kLogDays of them and
// their events.
void setHistoryRows(HistoryLog& log, std::vector<HistoryRow> rows);
// A row just written: added after the others, with the events it brings.
void addHistoryRow(HistoryLog& log, HistoryRow row);

// The rows of the history file; none when it is missing, empty, not ours or unreadable. Reads the
// whole file: for a thread that may wait.
std::vector<HistoryRow> readHistoryRows(const std::filesystem::path& file);

}  // namespace orelog
