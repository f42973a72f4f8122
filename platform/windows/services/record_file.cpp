// Reading and replacing the record file with Win32 calls: bounded reads, temporary files held
// unshared until they are renamed by their own handle, links resolved to their final target.
#include "services/record_file.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "win32_file.h"

namespace orelog {
namespace {

constexpr int kCreateAttempts = 16;
constexpr unsigned kUniqueRange = 0x1000000;  // six hexadecimal digits
constexpr std::size_t kUniqueDigits = 6;
constexpr const wchar_t* kLongPathPrefix = L"\\\\?\\";
constexpr const wchar_t* kUncPrefix = L"\\\\?\\UNC\\";

bool isRegularFile(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION info;
  return GetFileType(handle) == FILE_TYPE_DISK && GetFileInformationByHandle(handle, &info) &&
         (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// A regular file opened for reading through links; never a pipe, a device or a folder.
HANDLE openRegularFile(const std::filesystem::path& file) {
  HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle != INVALID_HANDLE_VALUE && !isRegularFile(handle)) {
    CloseHandle(handle);
    return INVALID_HANDLE_VALUE;
  }
  return handle;
}

// The rest of `from` appended to `to`.
bool copyAll(HANDLE from, HANDLE to) {
  std::vector<char> chunk(kFileChunkBytes);
  for (;;) {
    DWORD count = 0;
    if (!ReadFile(from, chunk.data(), kFileChunkBytes, &count, nullptr)) return false;
    if (count == 0) return true;
    if (!writeAll(to, std::string_view(chunk.data(), count))) return false;
  }
}

// A final path as GetFinalPathNameByHandleW gives it, without the long-path prefix when the path
// is short enough to do without.
std::filesystem::path withoutLongPathPrefix(std::wstring path) {
  if (path.rfind(kUncPrefix, 0) == 0) return L"\\\\" + path.substr(std::wcslen(kUncPrefix));
  if (path.rfind(kLongPathPrefix, 0) == 0 && path.size() < MAX_PATH) return path.substr(std::wcslen(kLongPathPrefix));
  return path;
}

// Where the new record goes: through links to the regular file they end at, or the name itself
// when nothing can be opened there yet or it is no regular file (which is then never renamed over).
std::filesystem::path recordToReplace(const std::filesystem::path& file) {
  FileHandle opened(CreateFileW(file.c_str(), FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!opened.isOpen() || !isRegularFile(opened.get())) return file;
  std::wstring final(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetFinalPathNameByHandleW(opened.get(), final.data(), static_cast<DWORD>(final.size()),
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return file;
    if (length < final.size()) {
      final.resize(length);
      return withoutLongPathPrefix(final);
    }
    final.resize(length + 1);
  }
}

bool isTemporaryName(std::wstring_view name, std::wstring_view recordName) {
  const std::wstring_view suffix = L".tmp";
  if (name.size() != recordName.size() + 1 + kUniqueDigits + suffix.size()) return false;
  if (name.substr(0, recordName.size()) != recordName || name[recordName.size()] != L'.') return false;
  return name.substr(name.size() - suffix.size()) == suffix;
}

// Every writer holds its temporary file open, unshared for deletion, until its rename; the system
// closes the handle of a writer that dies. So the deletion of a temporary file fails while a live
// writer holds it and removes only what a killed writer left. Links and folders under such a name
// are never touched.
void removeLeftoverTemporaries(const std::filesystem::path& target) {
  const std::wstring recordName = target.filename().wstring();
  const std::filesystem::path pattern = folderOf(target) / (recordName + L".*.tmp");
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const DWORD skipped = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    if ((found.dwFileAttributes & skipped) != 0 || !isTemporaryName(found.cFileName, recordName)) continue;
    DeleteFileW((folderOf(target) / found.cFileName).c_str());
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

// "<file>.<six hex digits>.tmp", created exclusively and held with write and delete access, shared
// for reading only: no other process can delete or rename it while this one lives.
HANDLE createTemporary(const std::filesystem::path& target, std::filesystem::path& temporary) {
  std::mt19937 random(std::random_device{}());
  for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
    wchar_t unique[kUniqueDigits + 2];
    std::swprintf(unique, kUniqueDigits + 2, L"%06x", static_cast<unsigned>(random() % kUniqueRange));
    temporary = target;
    temporary += L".";
    temporary += unique;
    temporary += kRecordTemporarySuffix;
    HANDLE handle = CreateFileW(temporary.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return handle;
  }
  return INVALID_HANDLE_VALUE;
}

// Renames the open file to `target`, replacing a file there; done by the handle, so the file
// never stands unheld under its temporary name.
bool renameByHandle(HANDLE handle, const std::filesystem::path& target) {
  const std::wstring name = std::filesystem::absolute(target).wstring();
  const std::size_t nameBytes = name.size() * sizeof(wchar_t);
  std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
  auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  info->ReplaceIfExists = TRUE;
  info->RootDirectory = nullptr;
  info->FileNameLength = static_cast<DWORD>(nameBytes);
  std::copy(name.begin(), name.end(), info->FileName);
  return SetFileInformationByHandle(handle, FileRenameInfo, info, static_cast<DWORD>(buffer.size()));
}

// The attributes a replaced record had, given to its successor. A read-only record cannot be
// renamed over: its read-only attribute is lifted for the rename and put back on the new file
// (or on the old one when the rename fails).
class KeptAttributes {
 public:
  explicit KeptAttributes(const std::filesystem::path& target)
      : target_(target), old_(GetFileAttributesW(target.c_str())) {}
  bool readOnly() const { return old_ != INVALID_FILE_ATTRIBUTES && (old_ & FILE_ATTRIBUTE_READONLY) != 0; }
  void liftReadOnly() const {
    if (readOnly()) SetFileAttributesW(target_.c_str(), old_ & ~FILE_ATTRIBUTE_READONLY);
  }
  void putBack() const {
    if (old_ != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(target_.c_str(), old_ & kKept);
  }

 private:
  static constexpr DWORD kKept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                 FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  std::filesystem::path target_;
  DWORD old_;
};

// A new file beside `target` filled by `fill`, flushed and renamed to `target`. On failure nothing
// under the name `target` has changed and the temporary file is gone.
bool writeBesideAndRename(const std::filesystem::path& target, const std::function<bool(HANDLE)>& fill) {
  removeLeftoverTemporaries(target);
  std::filesystem::path temporary;
  FileHandle out(createTemporary(target, temporary));
  if (!out.isOpen()) return false;
  const KeptAttributes attributes(target);
  bool renamed = false;
  if (fill(out.get()) && FlushFileBuffers(out.get())) {
    attributes.liftReadOnly();
    renamed = renameByHandle(out.get(), target);
    attributes.putBack();
  }
  if (!renamed) {
    FILE_DISPOSITION_INFO dispose{TRUE};
    SetFileInformationByHandle(out.get(), FileDispositionInfo, &dispose, sizeof dispose);
  }
  return renamed;
}

// Why a file could not be looked at or opened: only a name that is not there is missing; anything
// else (no permission, another program holding it without sharing) may hide the player's record.
RecordFileState stateAfterFailure(DWORD error) {
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return RecordFileState::Missing;
  return RecordFileState::Unreadable;
}

}  // namespace

RecordFileRead readRecordFile(const std::filesystem::path& file, std::uintmax_t maxBytes) {
  const DWORD attributes = GetFileAttributesW(file.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return {stateAfterFailure(GetLastError()), {}};
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return {RecordFileState::Damaged, {}};
  FileHandle in(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!in.isOpen()) return {stateAfterFailure(GetLastError()), {}};
  LARGE_INTEGER size;
  if (!isRegularFile(in.get()) || !GetFileSizeEx(in.get(), &size) ||
      static_cast<std::uintmax_t>(size.QuadPart) > maxBytes) {
    return {RecordFileState::Damaged, {}};
  }
  std::optional<std::string> bytes = readBounded(in.get(), static_cast<std::uintmax_t>(size.QuadPart), maxBytes);
  if (!bytes) return {RecordFileState::Damaged, {}};  // unreadable, or it grew while being read
  return {RecordFileState::Read, std::move(*bytes)};
}

bool replaceRecordFile(const std::filesystem::path& file, std::string_view bytes) {
  return writeBesideAndRename(recordToReplace(file), [&](HANDLE out) { return writeAll(out, bytes); });
}

RecordCopy copyRecordFile(const std::filesystem::path& from, const std::filesystem::path& copy) {
  FileHandle source(openRegularFile(from));
  if (!source.isOpen()) return RecordCopy::NothingToCopy;
  const DWORD taken = GetFileAttributesW(copy.c_str());
  if (taken != INVALID_FILE_ATTRIBUTES && (taken & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
    return RecordCopy::NameTaken;
  }
  // The rename replaces whatever took the name meanwhile, a link included, and never what it points at.
  const bool kept = writeBesideAndRename(copy, [&](HANDLE out) { return copyAll(source.get(), out); });
  return kept ? RecordCopy::Kept : RecordCopy::Failed;
}

}  // namespace orelog
