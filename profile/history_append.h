// Adding a row to history.csv: a torn last line dropped, the file kept under its size limit, a file
// that is not ours left alone.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "services/history_file.h"

namespace orelog {

// The file stays under this size; past it the oldest rows go, down to kHistoryTrimmedBytes, so the
// whole file is rewritten only once every several thousand updates.
inline constexpr std::uintmax_t kHistoryMaxBytes = 10'000'000;
inline constexpr std::uintmax_t kHistoryTrimmedBytes = 9'000'000;
// A file of ours is never larger than kHistoryMaxBytes; this bounds what is read of one that is not.
inline constexpr std::uintmax_t kHistoryReadLimit = 64u * 1024u * 1024u;

// What adding `row` (one line, line end included) does to a file holding `current`:
//  - a torn tail (bytes after the last line end) is cut off, never a whole line;
//  - an empty file, or one holding only the start of the header line, gets the header line first;
//  - a file whose first line is not our header is left alone;
//  - when the result would exceed kHistoryMaxBytes, the file is rewritten with its header, the
//    newest rows that fit in kHistoryTrimmedBytes, and the row. A row that cannot fit at all is not
//    written.
HistoryFileEdit planHistoryAppend(std::string_view current, std::string_view row);

// Adds the row to the file as planHistoryAppend decides; false when nothing was added.
bool appendHistoryRow(const std::filesystem::path& file, std::string_view row);

}  // namespace orelog
