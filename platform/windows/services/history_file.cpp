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
constexpr DWORD kWholeRange = MAXDWORD;

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

bool lockWhole(HANDLE file) {
  OVERLAPPED from{};
  return LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, kWholeRange, kWholeRange, &from) != 0;
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

bool cutAt(HANDLE file, std::uintmax_t length) {
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(length);
  return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && SetEndOfFile(file);
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
  if (keepBytes > size || !cutAt(file, keepBytes)) return false;
  if (writeAll(file, bytes) && FlushFileBuffers(file)) return true;
  cutAt(file, keepBytes);
  return false;
}

}  // namespace

bool editHistoryFile(const std::filesystem::path& file, std::uintmax_t maxReadBytes, const HistoryFilePlan& plan) {
  OpenFile history(CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  // A device or a pipe behind the name is never read.
  if (!history.isOpen() || GetFileType(history.handle()) != FILE_TYPE_DISK || !lockWhole(history.handle())) {
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
