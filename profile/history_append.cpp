// Adding a row to history.csv: the torn tail, the header and the size limit.
#include "profile/history_append.h"

#include <string>

#include "profile/history_rows.h"

namespace orelog {
namespace {

using Kind = HistoryFileEdit::Kind;

// Where the complete lines end: just after the last line end, or 0 when there is none.
std::size_t completeLength(std::string_view bytes) {
  const std::size_t lastEnd = bytes.rfind('\n');
  return lastEnd == std::string_view::npos ? 0 : lastEnd + 1;
}

std::string_view firstLineOf(std::string_view bytes) {
  std::string_view line = bytes.substr(0, bytes.find('\n'));
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

// The header line, the newest of `rows` that fit beside it within kHistoryTrimmedBytes, and the row.
HistoryFileEdit trimmedWith(std::string_view header, std::string_view rows, std::string_view row) {
  if (header.size() + row.size() > kHistoryTrimmedBytes) return {};
  std::size_t start = 0;
  while (header.size() + (rows.size() - start) + row.size() > kHistoryTrimmedBytes) {
    start = rows.find('\n', start) + 1;  // rows ends with a line end, so one is always found
  }
  std::string bytes;
  bytes.reserve(header.size() + (rows.size() - start) + row.size());
  bytes.append(header).append(rows.substr(start)).append(row);
  return {Kind::Replace, 0, std::move(bytes)};
}

}  // namespace

HistoryFileEdit planHistoryAppend(std::string_view current, std::string_view row) {
  const std::size_t keep = completeLength(current);
  if (keep == 0) {
    if (!isTornHistoryStart(current)) return {};  // one unfinished line that is no header of ours
    const std::string header = historyHeaderLine();
    if (header.size() + row.size() > kHistoryTrimmedBytes) return {};
    return {Kind::Append, 0, header + std::string(row)};
  }
  if (!isHistoryHeader(firstLineOf(current))) return {};
  const std::size_t headerLength = current.find('\n') + 1;
  if (keep + row.size() > kHistoryMaxBytes || current.size() > kHistoryMaxBytes) {
    return trimmedWith(current.substr(0, headerLength), current.substr(headerLength, keep - headerLength), row);
  }
  return {Kind::Append, keep, std::string(row)};
}

bool appendHistoryRow(const std::filesystem::path& file, std::string_view row) {
  bool added = false;
  const bool done = editHistoryFile(file, kHistoryReadLimit, [&](std::string_view current) {
    HistoryFileEdit edit = planHistoryAppend(current, row);
    added = edit.kind != Kind::Leave;
    return edit;
  });
  return done && added;
}

}  // namespace orelog
