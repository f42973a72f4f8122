// The log's rows and events: payouts, workers stopping and running again, the game restarted after
// a gap, the newest first; the rows of the latest 30 days only; files that hold no history.
#include "profile/history_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace orelog {
namespace {

constexpr int64_t kStart = 1796950000;
constexpr int32_t kJst = 540;

HistoryRow row(int64_t seconds, double payout, std::vector<std::pair<std::string, double>> workers) {
  double total = 0;
  for (const auto& worker : workers) total += worker.second;
  return {kStart + seconds, kJst, total, 0.0, payout, std::move(workers)};
}

HistoryEvent event(HistoryEvent::Kind kind, int64_t seconds, std::string worker = {}, double amount = 0) {
  return {kind, kStart + seconds, kJst, amount, std::move(worker)};
}

using Kind = HistoryEvent::Kind;

TEST(HistoryLog, EventsComeNewestFirstFromTheRowsAndFromEachNewRow) {
  std::vector<HistoryRow> rows = {
      row(0, 10, {{"a.rig", 100}, {"a.cpu", 5}}),      row(150, 10, {{"a.rig", 0}, {"a.cpu", 5}}),
      row(300, 10.5, {{"a.rig", 0}, {"a.cpu", 5}}),    row(450, 10.5, {{"a.rig", 90}, {"a.cpu", 5}}),
      row(3600, 10.5, {{"a.rig", 90}, {"a.cpu", 5}}),  // the game was off for most of an hour
      row(3750, 9, {{"a.rig", 90}}),                   // a smaller payout and a worker gone: nothing
  };
  HistoryLog log;
  setHistoryRows(log, rows);
  const std::vector<HistoryEvent> expected = {
      event(Kind::Restarted, 3600),
      event(Kind::WorkerRunning, 450, "a.rig"),
      event(Kind::Payout, 300, {}, 0.5),
      event(Kind::WorkerStopped, 150, "a.rig"),
  };
  EXPECT_EQ(log.events, expected);
  EXPECT_TRUE(log.loaded);

  // The same rows one by one after the first give the same list.
  HistoryLog growing;
  setHistoryRows(growing, {rows[0]});
  for (std::size_t i = 1; i < rows.size(); ++i) addHistoryRow(growing, rows[i]);
  EXPECT_EQ(growing.events, expected);
  EXPECT_EQ(growing.rows.size(), rows.size());
}

TEST(HistoryLog, KeepsTheLatestThirtyDaysAndAtMostItsEventCap) {
  std::vector<HistoryRow> rows;
  for (int64_t hour = 0; hour <= 40 * 24; ++hour) rows.push_back(row(hour * 3600, 0, {{"a.rig", hour % 2 ? 0 : 7}}));
  HistoryLog log;
  setHistoryRows(log, rows);
  ASSERT_FALSE(log.rows.empty());
  EXPECT_EQ(log.rows.front().utcSeconds, kStart + 10 * 86400);
  EXPECT_EQ(log.events.size(), kMostLogEvents);
  EXPECT_EQ(log.events.front().utcSeconds, rows.back().utcSeconds);
  for (int64_t hour = 1; hour <= 3 * 24; ++hour) addHistoryRow(log, row((40 * 24 + hour) * 3600, 0, {{"a.rig", 7}}));
  EXPECT_GE(log.rows.front().utcSeconds, log.rows.back().utcSeconds - 31 * 86400) << "old rows are let go";
  EXPECT_EQ(log.events.size(), kMostLogEvents);
}

TEST(HistoryLog, AFileWithoutHistoryGivesNoRows) {
  test::TempFolder folder{"orelog-history-log"};
  const auto file = folder.file("history.csv");
  EXPECT_TRUE(readHistoryRows(file).empty()) << "missing";
  for (const std::string& content : {std::string(), historyHeaderLine(), std::string("date,value\r\n1,2\r\n"),
                                    std::string("\xEF\xBB\xBFtime,total_khs\r\n\x01\x02\xFF garbage\r\n"),
                                    historyHeaderLine() + "2026-12-11T09:00:00+09:00,12,x,y\r\nnot a row"}) {
    folder.write("history.csv", content);
    EXPECT_TRUE(readHistoryRows(file).empty()) << content;
  }
  folder.write("history.csv", historyHeaderLine() + "2026-12-11T09:00:00+09:00,12,0.5,1.0,a.rig,12\r\n");
  EXPECT_EQ(readHistoryRows(file).size(), 1u);
}

}  // namespace
}  // namespace orelog
