// history.csv's rows and what adding one does to a file: written, read back, torn tails, trimming.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "profile/history_append.h"
#include "profile/history_rows.h"

namespace orelog {
namespace {

using Kind = HistoryFileEdit::Kind;

const ZonedDateTime kTokyoMorning{{2026, 12, 11, 9, 34, 5}, 540};

PlayerRecord recordWith(std::map<std::string, double> workers) {
  PlayerRecord record;
  record.workers = std::move(workers);
  for (const auto& [name, khs] : record.workers) record.totalHashrate += static_cast<int64_t>(khs);
  record.balance = 2.5083716234;
  record.payout = 7.59204784;
  return record;
}

TEST(HistoryRows, ARowHoldsTheTimeTheFiguresAndEachWorker) {
  const std::string line = historyRowLine(recordWith({{"acct.rig1", 600}, {"acct.rig2", 34}}), kTokyoMorning);
  EXPECT_EQ(line, "2026-12-11T09:34:05+09:00,634,2.50837162,7.59204784,acct.rig1,600,acct.rig2,34\r\n");
  EXPECT_EQ(historyRowLine(PlayerRecord{}, kTokyoMorning), "2026-12-11T09:34:05+09:00,0,0.00000000,0.00000000\r\n");
  EXPECT_EQ(historyHeaderLine(), "\xEF\xBB\xBFtime,total_khs,balance,payout,worker,khs\r\n");
}

// An ASIC past 32 bits and CPU workers below 1 KH/s: whole KH/s, below 1 KH/s with two decimals. The
// total is the pool's figures summed (two CPU workers make 0.73), not experience's whole KH/s.
TEST(HistoryRows, HashratesPast32BitsAndBelowOneKilohashAreWrittenAndReadBack) {
  struct Case {
    std::map<std::string, double> workers;
    std::string figures;  // the line from the total on, without the amounts
    double total;
    std::vector<std::pair<std::string, double>> read;
  };
  const Case cases[] = {
      {{{"kuro.asic", 95e9}, {"kuro.cpu", 0.49}, {"kuro.rig", 140.6}},
       "95000000141|kuro.asic,95000000000,kuro.cpu,0.49,kuro.rig,140",
       95000000141,
       {{"kuro.asic", 95e9}, {"kuro.cpu", 0.49}, {"kuro.rig", 140}}},
      {{{"kuro.cpu1", 0.49}, {"kuro.cpu2", 0.24}}, "0.73|kuro.cpu1,0.49,kuro.cpu2,0.24", 0.73,
       {{"kuro.cpu1", 0.49}, {"kuro.cpu2", 0.24}}},
  };
  for (const Case& c : cases) {
    const PlayerRecord record = recordWith(c.workers);
    const std::string line = historyRowLine(record, kTokyoMorning);
    const std::size_t bar = c.figures.find('|');
    EXPECT_EQ(line, "2026-12-11T09:34:05+09:00," + c.figures.substr(0, bar) + ",2.50837162,7.59204784," +
                        c.figures.substr(bar + 1) + "\r\n");
    const auto row = parseHistoryRow(std::string_view(line).substr(0, line.size() - 2));
    ASSERT_TRUE(row) << line;
    EXPECT_EQ(row->totalKhs, c.total);
    EXPECT_EQ(row->workers, c.read);
  }
}

// Worker names come from the pool: whatever they hold, the row stays one line of the right fields,
// a spreadsheet never runs one as a formula, and reading gives the name back.
TEST(HistoryRows, AnyWorkerNameKeepsTheRowOneLineAndReadsBack) {
  struct Case {
    std::string name;
    std::string field;  // as written
    std::string read;   // as read back
  };
  const Case cases[] = {
      {"acct.rig", "acct.rig", "acct.rig"},
      {"acct.ねこ", "acct.ねこ", "acct.ねこ"},
      {"a,b", "\"a,b\"", "a,b"},
      {"say \"hi\"", "\"say \"\"hi\"\"\"", "say \"hi\""},
      {"line\r\nbreak\ttab", "line\xEF\xBF\xBD\xEF\xBF\xBD" "break\xEF\xBF\xBDtab",
       "line\xEF\xBF\xBD\xEF\xBF\xBD" "break\xEF\xBF\xBDtab"},
      {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\"", "=HYPERLINK(\"x\")"},
      {"+1", "'+1", "+1"},
      {"-rig", "'-rig", "-rig"},
      {"@sum", "'@sum", "@sum"},
      {"'quoted", "'quoted", "'quoted"},
      {"", "", ""},
      {"acct.\u202Egnp.exe", "acct.gnp.exe", "acct.gnp.exe"},
      {"bad\xFF\xC3", "bad\xEF\xBF\xBD\xEF\xBF\xBD", "bad\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"esc\x1B[2J\xC2\x9B", "esc\xEF\xBF\xBD[2J\xEF\xBF\xBD", "esc\xEF\xBF\xBD[2J\xEF\xBF\xBD"},
  };
  for (const Case& c : cases) {
    const std::string line = historyRowLine(recordWith({{c.name, 5}}), kTokyoMorning);
    EXPECT_EQ(line, "2026-12-11T09:34:05+09:00,5,2.50837162,7.59204784," + c.field + ",5\r\n") << c.name;
    EXPECT_EQ(line.find('\n'), line.size() - 1) << c.name;
    const auto row = parseHistoryRow(std::string_view(line).substr(0, line.size() - 2));
    ASSERT_TRUE(row) << c.name;
    ASSERT_EQ(row->workers.size(), 1u) << c.name;
    EXPECT_EQ(row->workers[0].first, c.read) << c.name;
    EXPECT_EQ(row->workers[0].second, 5) << c.name;
  }
}

// A file written before names were cleaned, or edited by hand, is cleaned as it is read.
TEST(HistoryRows, RawNamesInTheFileAreCleanedWhenRead) {
  const auto row = parseHistoryRow("2026-12-11T09:34:05+09:00,5,1.0,2.0,acct.\u202Egnp.exe,3,x\x1B\xFF,2");
  ASSERT_TRUE(row);
  ASSERT_EQ(row->workers.size(), 2u);
  EXPECT_EQ(row->workers[0].first, "acct.gnp.exe");
  EXPECT_EQ(row->workers[1].first, "x\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(HistoryRows, LinesThatAreNoRowOfOursAreSkipped) {
  for (const char* line : {"", "x", "2026-12-11T09:34:05+09:00,5,1,2,rig", "2026-12-11T09:34:05+09:00,5,1",
                           "2026-12-11T09:34:05+09:00,5x,1,2", "2026-12-11T09:34:05+09:00,5,1,2,rig,many",
                           "2026-12-11T09:34:05+09:00,5,1,2,\"rig,5", "2026-12-11T09:34:05+09:00,5,1,2,\"rig\"x,5",
                           "11/12/2026 09:34,5,1,2", "2026-12-11T09:34:05+09:00,99999999999999999999,1,2",
                           // No writer of ours makes a hashrate that is not a finite 64-bit figure.
                           "2026-12-11T09:34:05+09:00,nan,1,2", "2026-12-11T09:34:05+09:00,inf,1,2",
                           "2026-12-11T09:34:05+09:00,5,1,2,rig,nan", "2026-12-11T09:34:05+09:00,5,1,2,rig,-inf",
                           "2026-12-11T09:34:05+09:00,5,1,2,rig,1e19"}) {
    EXPECT_FALSE(parseHistoryRow(line)) << line;
  }
  const auto row = parseHistoryRow("2026-12-11T09:34:05+09:00,-3,1e3,inf");
  ASSERT_TRUE(row);
  EXPECT_EQ(row->totalKhs, -3);
  EXPECT_EQ(row->balance, 1000.0);
}

TEST(HistoryRows, AFileReadsAsItsRowsOldestFirstAndAForeignFileAsNone) {
  const std::string first = historyRowLine(recordWith({{"a", 1}}), kTokyoMorning);
  const std::string second = historyRowLine(recordWith({{"a", 2}}), {{2026, 12, 11, 9, 36, 35}, 540});
  const std::string file = historyHeaderLine() + first + "hand-written note\r\n" + second + "2026-12-11T09:3";
  const auto rows = parseHistory(file);
  ASSERT_TRUE(rows);
  ASSERT_EQ(rows->size(), 2u);
  EXPECT_EQ((*rows)[0].totalKhs, 1);
  EXPECT_EQ((*rows)[1].utcSeconds - (*rows)[0].utcSeconds, 150);
  EXPECT_EQ((*rows)[1].utcOffsetMinutes, 540);
  // Saved again by a spreadsheet that drops the byte order mark and writes bare line feeds.
  EXPECT_EQ(parseHistory("time,total_khs,balance,payout,worker,khs\n" + first.substr(0, first.size() - 2) + "\n")->size(), 1u);
  EXPECT_EQ(parseHistory("\xEF\xBB\xBFtime,total")->size(), 0u);
  for (const char* foreign : {"date,value\r\n1,2\r\n", "time,total_khs\r\n", "{}", "\xEF\xBB\xBFtime,totalX"}) {
    EXPECT_FALSE(parseHistory(foreign)) << foreign;
  }
}

TEST(HistoryAppend, ATornTailIsCutAndAFileNotOursIsLeftAlone) {
  const std::string header = historyHeaderLine();
  const std::string row = historyRowLine(recordWith({{"a", 1}}), kTokyoMorning);
  struct Case {
    std::string current;
    Kind kind;
    std::size_t keep;
    std::string bytes;
  };
  const Case cases[] = {
      {"", Kind::Append, 0, header + row},
      {header.substr(0, 7), Kind::Append, 0, header + row},  // killed while the file was started
      {header, Kind::Append, header.size(), row},
      {header + row, Kind::Append, header.size() + row.size(), row},
      {header + row + row.substr(0, 20), Kind::Append, header.size() + row.size(), row},
      {header + row + row.substr(0, row.size() - 1), Kind::Append, header.size() + row.size(), row},
      {"time,total_khs,balance,payout,worker,khs\n", Kind::Append, 41, row},
      {"date,value\r\n1,2\r\n", Kind::Leave, 0, ""},
      {"notes without a line end", Kind::Leave, 0, ""},
      {header.substr(3, 10), Kind::Leave, 0, ""},  // we never start a file without the mark
  };
  for (const Case& c : cases) {
    const HistoryFileEdit edit = planHistoryAppend(c.current, row);
    EXPECT_EQ(edit.kind, c.kind) << c.current;
    if (edit.kind != Kind::Append) continue;
    EXPECT_EQ(edit.keepBytes, c.keep) << c.current;
    EXPECT_EQ(edit.bytes, c.bytes) << c.current;
  }
}

// Past the limit the oldest rows go, down to the trimmed size, header kept; the newest row is last.
TEST(HistoryAppend, AFullFileLosesItsOldestRowsOnly) {
  const std::string header = historyHeaderLine();
  std::string current = header;
  std::string newest;
  for (int i = 0; current.size() <= kHistoryMaxBytes - 200; ++i) {
    newest = historyRowLine(recordWith({{"w" + std::to_string(i), i}}), kTokyoMorning);
    current += newest;
  }
  const std::string row = historyRowLine(recordWith({{"last", 1}}), kTokyoMorning);
  std::string big = row;
  const std::size_t pairs = (kHistoryMaxBytes - current.size() + 4) / 4;
  std::string extra;
  for (std::size_t i = 0; i < pairs; ++i) extra += ",x,1";
  big.insert(big.size() - 2, extra);
  for (const std::string& added : {row, big}) {
    const HistoryFileEdit edit = planHistoryAppend(current, added);
    if (current.size() + added.size() <= kHistoryMaxBytes) {
      EXPECT_EQ(edit.kind, Kind::Append);
      continue;
    }
    ASSERT_EQ(edit.kind, Kind::Replace);
    EXPECT_LE(edit.bytes.size(), kHistoryTrimmedBytes);
    EXPECT_GT(edit.bytes.size(), kHistoryTrimmedBytes - 200);
    EXPECT_EQ(edit.bytes.substr(0, header.size()), header);
    EXPECT_EQ(edit.bytes.substr(edit.bytes.size() - added.size()), added);
    const std::string kept = edit.bytes.substr(header.size(), edit.bytes.size() - header.size() - added.size());
    EXPECT_EQ(current.substr(current.size() - kept.size()), kept) << "kept rows are the newest, whole";
    EXPECT_EQ(current[current.size() - kept.size() - 1], '\n');
    EXPECT_EQ(kept.substr(kept.size() - newest.size()), newest);
  }
  const std::string huge = std::string(kHistoryTrimmedBytes, 'x') + "\r\n";
  EXPECT_EQ(planHistoryAppend(current, huge).kind, Kind::Leave) << "a row that can never fit";
  EXPECT_EQ(planHistoryAppend("", huge).kind, Kind::Leave);
}

}  // namespace
}  // namespace orelog
