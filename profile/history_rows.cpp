// Writing the record's figures as a history.csv line and reading lines back.
#include "profile/history_rows.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "util/hashrate.h"
#include "util/iso_time.h"
#include "util/pool_name.h"

namespace orelog {
namespace {

constexpr int kAmountDecimals = 8;  // the pool's amounts carry more; eight is a satoshi
// Room for any double in fixed notation (the largest has 309 digits before the point).
constexpr std::size_t kAmountTextCapacity = 400;
constexpr char kTextMarker = '\'';
// The fixed columns before the worker pairs.
constexpr std::size_t kFixedColumns = 4;

std::string amountText(double value) {
  char text[kAmountTextCapacity];
  const auto [end, ec] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, kAmountDecimals);
  return ec == std::errc() ? std::string(text, end) : std::string("nan");
}

bool startsLikeFormula(std::string_view name) {
  return !name.empty() && (name[0] == '=' || name[0] == '+' || name[0] == '-' || name[0] == '@');
}

// A worker name as one CSV field that keeps the line one line and is never taken for a formula.
std::string nameField(std::string_view name) {
  std::string text = startsLikeFormula(name) ? std::string(1, kTextMarker) : std::string();
  bool needsQuotes = false;
  for (const char c : cleanPoolName(name)) {
    needsQuotes = needsQuotes || c == ',' || c == '"';
    text += c;
    if (c == '"') text += '"';
  }
  return needsQuotes ? "\"" + text + "\"" : text;
}

// The fields of one line; nullopt when a quoted field is not closed or text follows its closing quote.
std::optional<std::vector<std::string>> splitFields(std::string_view line) {
  std::vector<std::string> fields(1);
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == '"' && fields.back().empty()) {
      for (++i;; ++i) {
        if (i >= line.size()) return std::nullopt;
        if (line[i] == '"' && (i + 1 >= line.size() || line[i + 1] != '"')) break;
        if (line[i] == '"') ++i;
        fields.back() += line[i];
      }
      ++i;
      if (i < line.size() && line[i] != ',') return std::nullopt;
      continue;
    }
    if (line[i] == ',') fields.emplace_back();
    else fields.back() += line[i];
    ++i;
  }
  return fields;
}

template <typename Number>
std::optional<Number> numberField(std::string_view text) {
  Number value{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// A hashrate as written: finite, its whole KH/s within 64 bits (older files hold whole KH/s only).
std::optional<double> hashrateField(std::string_view text) {
  constexpr double kPast64Bits = 9223372036854775808.0;  // 2^63
  const auto khs = numberField<double>(text);
  if (!khs || !std::isfinite(*khs) || *khs >= kPast64Bits || *khs < -kPast64Bits) return std::nullopt;
  return khs;
}

// A name read back is cleaned again: the file may come from an older version or a hand edit.
std::string nameFromField(std::string field) {
  if (field.size() > 1 && field[0] == kTextMarker && startsLikeFormula(std::string_view(field).substr(1))) {
    field.erase(0, 1);
  }
  return cleanPoolName(field);
}

std::string_view withoutLineEnd(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

}  // namespace

std::string historyHeaderLine() {
  return std::string(kByteOrderMark) + std::string(kHistoryHeader) + std::string(kHistoryLineEnd);
}

std::string historyRowLine(const PlayerRecord& record, const ZonedDateTime& time) {
  std::string line = isoTimeText(time) + "," + khsFigureText(shownTotalKhs(record)) + "," +
                     amountText(record.balance) + "," + amountText(record.payout);
  for (const auto& [name, khs] : record.workers) line += "," + nameField(name) + "," + khsFigureText(khs);
  return line + std::string(kHistoryLineEnd);
}

bool isHistoryHeader(std::string_view firstLine) {
  if (firstLine.substr(0, kByteOrderMark.size()) == kByteOrderMark) firstLine.remove_prefix(kByteOrderMark.size());
  return firstLine == kHistoryHeader;
}

std::optional<HistoryRow> parseHistoryRow(std::string_view line) {
  const auto fields = splitFields(line);
  if (!fields || fields->size() < kFixedColumns || (fields->size() - kFixedColumns) % 2 != 0) return std::nullopt;
  const auto time = parseIsoTime((*fields)[0]);
  const auto total = hashrateField((*fields)[1]);
  const auto balance = numberField<double>((*fields)[2]);
  const auto payout = numberField<double>((*fields)[3]);
  if (!time || !total || !balance || !payout) return std::nullopt;
  HistoryRow row{utcSeconds(*time), time->utcOffsetMinutes, *total, *balance, *payout, {}};
  for (std::size_t i = kFixedColumns; i < fields->size(); i += 2) {
    const auto khs = hashrateField((*fields)[i + 1]);
    if (!khs) return std::nullopt;
    row.workers.emplace_back(nameFromField((*fields)[i]), *khs);
  }
  return row;
}

bool isTornHistoryStart(std::string_view bytes) {
  const std::string header = historyHeaderLine();
  return bytes.size() < header.size() && std::string_view(header).substr(0, bytes.size()) == bytes;
}

std::optional<std::vector<HistoryRow>> parseHistory(std::string_view bytes) {
  const std::size_t firstEnd = bytes.find('\n');
  if (firstEnd == std::string_view::npos) {
    return isTornHistoryStart(bytes) ? std::optional(std::vector<HistoryRow>()) : std::nullopt;
  }
  if (!isHistoryHeader(withoutLineEnd(bytes.substr(0, firstEnd)))) return std::nullopt;
  std::vector<HistoryRow> rows;
  for (std::size_t start = firstEnd + 1; start < bytes.size();) {
    const std::size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) break;  // a torn last line
    if (auto row = parseHistoryRow(withoutLineEnd(bytes.substr(start, end - start)))) rows.push_back(std::move(*row));
    start = end + 1;
  }
  return rows;
}

}  // namespace orelog
