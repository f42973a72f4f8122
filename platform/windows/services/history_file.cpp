// Adding to the history file with Win32 calls: a byte-range lock, a bounded read, a cut and an append
// flushed to the disk.
#include "services/history_file.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "services/record_file.h"
#include "win32_file.h"

namespace orelog {
namespace {

// Editors lock one byte far beyond any history rather than the rows: the lock orders the editors
// of this program, and leaves the rows to the second handle that cuts a torn tail.
constexpr DWORD kLockOffsetHigh = 0x40000000;
// Reading and appending but no other writing: each write lands at the file's end as it is then,
// never at an offset read before another writer (one whose lock this one cannot see) added a row.
constexpr DWORD kReadAndAppend = GENERIC_READ | FILE_APPEND_DATA | SYNCHRONIZE;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool lockEditors(HANDLE file) {
  OVERLAPPED from{};
  from.OffsetHigh = kLockOffsetHigh;
  return LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &from) != 0;
}

// Cutting needs write access, which the appending handle lacks: a second handle to the same file.
bool cutAt(HANDLE file, std::uintmax_t length) {
  FileHandle cutter(ReOpenFile(file, GENERIC_WRITE, kShareAll, 0));
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(length);
  return cutter.isOpen() && SetFilePointerEx(cutter.get(), at, nullptr, FILE_BEGIN) && SetEndOfFile(cutter.get());
}

// The torn tail cut off, then the bytes written and flushed; on failure the file is cut back.
bool appendAt(HANDLE file, std::uintmax_t keepBytes, std::string_view bytes, std::uintmax_t size) {
  if (keepBytes > size || (keepBytes < size && !cutAt(file, keepBytes))) return false;
  if (writeAll(file, bytes) && FlushFileBuffers(file)) return true;
  cutAt(file, keepBytes);
  return false;
}

// An existing file is opened through a link, as config.json is written through one; a new file is
// never created through one: a link that leads nowhere is left as it is.
HANDLE openForAppending(const std::filesystem::path& file) {
  HANDLE history = CreateFileW(file.c_str(), kReadAndAppend, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (history != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_NOT_FOUND) return history;
  return CreateFileW(file.c_str(), kReadAndAppend, kShareAll, nullptr, CREATE_NEW,
                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

}  // namespace

bool editHistoryFile(const std::filesystem::path& file, std::uintmax_t maxReadBytes, const HistoryFilePlan& plan) {
  FileHandle history(openForAppending(file));
  // A device or a pipe behind the name is never read.
  if (!history.isOpen() || GetFileType(history.get()) != FILE_TYPE_DISK || !lockEditors(history.get())) {
    return false;
  }
  LARGE_INTEGER size;
  if (!GetFileSizeEx(history.get(), &size) || static_cast<std::uintmax_t>(size.QuadPart) > maxReadBytes) {
    return false;
  }
  const std::optional<std::string> current = readBounded(history.get(), static_cast<std::uintmax_t>(size.QuadPart), maxReadBytes);
  if (!current) return false;
  const HistoryFileEdit edit = plan(*current);
  switch (edit.kind) {
    case HistoryFileEdit::Kind::Leave:
      return true;
    case HistoryFileEdit::Kind::Append:
      return appendAt(history.get(), edit.keepBytes, edit.bytes, current->size());
    case HistoryFileEdit::Kind::Replace:
      // A file cannot be renamed over while a handle to it is open.
      history.close();
      return replaceRecordFile(file, edit.bytes);
  }
  return false;
}

}  // namespace orelog
