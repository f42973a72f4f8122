// The Win32 file calls the record and the history share: a handle holder, a bounded read and a
// write of every byte.
#pragma once
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orelog {

// How much one read or write moves at most.
inline constexpr DWORD kFileChunkBytes = 64 * 1024;

// A file handle closed when it goes out of scope, a lock on the file with it.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() { close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE get() const { return handle_; }
  bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  void close() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

// The file from its position to its end, or nullopt once more than maxBytes have come (it grew
// while being read) or a read fails. The expected size is reserved at once, so a large file is not
// copied over and over as the text grows.
std::optional<std::string> readBounded(HANDLE file, std::uintmax_t expectedBytes, std::uintmax_t maxBytes);

// Writes every byte at the file's position; false when the system takes none.
bool writeAll(HANDLE file, std::string_view bytes);

// The folder a file lies in ("." for a bare name).
std::filesystem::path folderOf(const std::filesystem::path& file);

}  // namespace orelog
