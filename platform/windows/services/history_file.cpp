// Adding to the history file with Win32 calls: a byte-range lock, a bounded read, a cut and an append
// flushed to the disk.
#include "services/history_file.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "services/record_file.h"

namespace orelog {
namespace {

constexpr DWORD kReadChunkBytes = 64 * 1024;
// Editors lock one byte far beyond any history rather than the rows: the lock orders the editors
// of this program, and leaves the rows to the second handle that cuts a torn tail.
constexpr DWORD kLockOffsetHigh = 0x40000000;
// Reading and appending but no other writing: each write lands at the file's end as it is then,
// never at an offset read before another writer (one whose lock this one cannot see) added a row.
constexpr DWORD kReadAndAppend = GENERIC_READ | FILE_APPEND_DATA | SYNCHRONIZE;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A file handle closed when it goes out of scope, its lock with it.
class OpenFile {
 public:
  explicit OpenFile(HANDLE handle) : handle_(handle) {}
  ~OpenFile() { close(); }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  HANDLE handle() const { return handle_; }
  bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  void close() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

bool lockEditors(HANDLE file) {
  OVERLAPPED from{};
  from.OffsetHigh = kLockOffsetHigh;
  return LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &from) != 0;
}

// The expected size is reserved at once, so a history near its limit is not copied over and over
// as the text grows.
std::optional<std::string> readWhole(HANDLE file, std::uintmax_t expectedBytes, std::uintmax_t maxBytes) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(std::min<std::uintmax_t>(expectedBytes, maxBytes) + 1));
  char chunk[kReadChunkBytes];
  for (;;) {
    DWORD count = 0;
    if (!ReadFile(file, chunk, sizeof chunk, &count, nullptr)) return std::nullopt;
    if (count == 0) return bytes;
    bytes.append(chunk, count);
    if (bytes.size() > maxBytes) return std::nullopt;
  }
}

// Cutting needs write access, which the appending handle lacks: a second handle to the same file.
bool cutAt(HANDLE file, std::uintmax_t length) {
  OpenFile cutter(ReOpenFile(file, GENERIC_WRITE, kShareAll, 0));
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(length);
  return cutter.isOpen() && SetFilePointerEx(cutter.handle(), at, nullptr, FILE_BEGIN) && SetEndOfFile(cutter.handle());
}

bool writeAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD count = 0;
    const DWORD chunk = bytes.size() > kReadChunkBytes ? kReadChunkBytes : static_cast<DWORD>(bytes.size());
    if (!WriteFile(file, bytes.data(), chunk, &count, nullptr) || count == 0) return false;
    bytes.remove_prefix(count);
  }
  return true;
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
  OpenFile history(openForAppending(file));
  // A device or a pipe behind the name is never read.
  if (!history.isOpen() || GetFileType(history.handle()) != FILE_TYPE_DISK || !lockEditors(history.handle())) {
    return false;
  }
  LARGE_INTEGER size;
  if (!GetFileSizeEx(history.handle(), &size) || static_cast<std::uintmax_t>(size.QuadPart) > maxReadBytes) {
    return false;
  }
  const std::optional<std::string> current = readWhole(history.handle(), static_cast<std::uintmax_t>(size.QuadPart), maxReadBytes);
  if (!current) return false;
  const HistoryFileEdit edit = plan(*current);
  switch (edit.kind) {
    case HistoryFileEdit::Kind::Leave:
      return true;
    case HistoryFileEdit::Kind::Append:
      return appendAt(history.handle(), edit.keepBytes, edit.bytes, current->size());
    case HistoryFileEdit::Kind::Replace:
      // A file cannot be renamed over while a handle to it is open.
      history.close();
      return replaceRecordFile(file, edit.bytes);
  }
  return false;
}

}  // namespace orelog
