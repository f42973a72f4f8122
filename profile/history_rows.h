// The rows of history.csv: one per successful update, written from the record and read back.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "profile/player_record.h"
#include "util/date_time.h"

namespace orelog {

inline constexpr const char* kHistoryFileName = "history.csv";
// The first line, after a UTF-8 byte order mark that lets spreadsheets tell the encoding. The last
// two columns repeat once per worker.
inline constexpr std::string_view kHistoryHeader = "time,total_khs,balance,payout,worker,khs";
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
inline constexpr std::string_view kHistoryLineEnd = "\r\n";

// One update as read back. Times are kept as the instant and the offset they were written with.
struct HistoryRow {
  int64_t utcSeconds = 0;
  int32_t utcOffsetMinutes = 0;
  double totalKhs = 0.0;  // the workers' figures as the pool sent them, summed
  double balance = 0.0;
  double payout = 0.0;
  std::vector<std::pair<std::string, double>> workers;  // UTF-8 name, KH/s; in the order written
};

// The header line as a new file starts: byte order mark, header, line end.
std::string historyHeaderLine();
// The record's figures at `time` as one line, line end included. Hashrates are the pool's figures
// (the total as shownTotalKhs sums them) in whole KH/s, between 0 and 1 KH/s with two decimals
// ("0.49"); a hashrate read back is finite and within 64 bits, as every one written is. Worker names are written so that
// the line stays one line and a spreadsheet shows them as text: each is cleaned as every pool name
// is (util/pool_name.h), a name with a comma or a quote is quoted, and one a spreadsheet would take
// for a formula (starting with = + - @) gets a leading apostrophe, which reading removes again.
// Names read back are cleaned once more.
std::string historyRowLine(const PlayerRecord& record, const ZonedDateTime& time);

// Whether a first line (without its line end) is our header, with or without the byte order mark.
bool isHistoryHeader(std::string_view firstLine);

// A file cut short while its header line was written: a beginning of historyHeaderLine(), the
// empty file included. It is ours, with no rows yet.
bool isTornHistoryStart(std::string_view bytes);

// One line (without its line end) read back; nullopt for a line that is not a row of ours.
std::optional<HistoryRow> parseHistoryRow(std::string_view line);

// The rows of a whole file, oldest first, in file order; nullopt when the file is not ours (its first
// line is not the header). Lines that are not rows (a torn last line, a hand edit) are skipped.
std::optional<std::vector<HistoryRow>> parseHistory(std::string_view bytes);

}  // namespace orelog
