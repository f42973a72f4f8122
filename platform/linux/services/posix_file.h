// The POSIX file calls the record and the history share: a descriptor holder, a bounded read, a
// write of every byte and a flush of a folder.
#pragma once
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orelog {

// How much one read or write moves at most.
inline constexpr std::size_t kFileChunkBytes = 64 * 1024;

// A file descriptor that is closed when it goes out of scope.
class OpenFile {
 public:
  explicit OpenFile(int fd) : fd_(fd) {}
  ~OpenFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  int fd() const { return fd_; }
  bool isOpen() const { return fd_ >= 0; }
  // Closes now and reports whether the close succeeded (a late write error shows up here).
  bool close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

// The file from its first byte to its end, or nullopt once more than maxBytes have come (it grew
// while being read) or a read fails. The expected size is reserved at once, so a large file is not
// copied over and over as the text grows.
std::optional<std::string> readFromStart(int fd, std::uintmax_t expectedBytes, std::uintmax_t maxBytes);

// Writes every byte at the file's position; false when the system takes none.
bool writeAll(int fd, std::string_view bytes);

// The folder a file lies in ("." for a bare name).
std::filesystem::path folderOf(const std::filesystem::path& file);

// Makes a new name or a rename in the folder durable. Some file systems cannot flush a folder; what
// was done is done by then, so nothing is reported.
void flushFolder(const std::filesystem::path& folder);

}  // namespace orelog
