// The file-system steps of adding to the history file, one implementation per platform.
#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace orelog {

// What to do with the history file, decided from its bytes.
struct HistoryFileEdit {
  enum class Kind {
    Leave,    // not touched
    Append,   // cut to keepBytes (dropping a torn tail), then `bytes` written there
    Replace,  // the whole content becomes `bytes`, as the record file is replaced
  };
  Kind kind = Kind::Leave;
  std::uintmax_t keepBytes = 0;
  std::string bytes;
};

using HistoryFilePlan = std::function<HistoryFileEdit(std::string_view current)>;

// Opens the file (following a symbolic link to an existing file; creating it empty, owner-only,
// when there is none, but never through a link that leads nowhere), locks it against other editors
// of this call, reads it whole and does what plan decides from its bytes, all under the lock:
//  - Append writes in append mode, so the bytes land at the file's end as it is then, even after a
//    row added by a writer whose lock this one cannot see; it flushes the file to the disk before
//    the lock is released; a process killed meanwhile leaves at worst a torn tail after keepBytes;
//  - Replace goes through replaceRecordFile, so the file is always its old or its new content.
// False, without calling plan, when the name is not a regular file (a pipe, a device, a folder),
// the file holds more than maxReadBytes or cannot be opened, locked or read; false too when a step
// of the edit fails (an append that failed is cut back to keepBytes). True for Leave.
bool editHistoryFile(const std::filesystem::path& file, std::uintmax_t maxReadBytes, const HistoryFilePlan& plan);

}  // namespace orelog
