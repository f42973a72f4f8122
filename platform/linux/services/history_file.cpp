// Adding to the history file with POSIX calls: an advisory lock, a bounded read, a cut and an append
// flushed to the disk.
#include "services/history_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>

#include "open_file.h"
#include "services/record_file.h"

namespace orelog {
namespace {

constexpr mode_t kNewHistoryMode = S_IRUSR | S_IWUSR;  // worker names carry the pool account's name
constexpr std::size_t kReadChunkBytes = 64 * 1024;
// Another editor may replace the file while this one waits for the lock; the new file is then taken.
constexpr int kOpenAttempts = 8;

enum class Opened { Ready, Replaced, Failed };

bool lockWhole(int fd) {
  for (;;) {
    if (::flock(fd, LOCK_EX) == 0) return true;
    if (errno != EINTR) return false;
  }
}

// Locks the open file and checks that the name still leads to it: a rewrite by another editor may
// have put a new file there meanwhile.
Opened lockCurrent(int fd, const std::filesystem::path& file, struct stat& status) {
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || !lockWhole(fd)) return Opened::Failed;
  struct stat named;
  if (::stat(file.c_str(), &named) != 0 || named.st_dev != status.st_dev || named.st_ino != status.st_ino) {
    return Opened::Replaced;
  }
  return ::fstat(fd, &status) == 0 ? Opened::Ready : Opened::Failed;
}

// The expected size is reserved at once, so a history near its limit is not copied over and over
// as the text grows.
std::optional<std::string> readFromStart(int fd, std::uintmax_t expectedBytes, std::uintmax_t maxBytes) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(std::min(expectedBytes, maxBytes) + 1));
  char chunk[kReadChunkBytes];
  for (;;) {
    const ssize_t count = ::pread(fd, chunk, sizeof chunk, static_cast<off_t>(bytes.size()));
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return std::nullopt;
    if (count == 0) return bytes;
    bytes.append(chunk, static_cast<std::size_t>(count));
    if (bytes.size() > maxBytes) return std::nullopt;
  }
}

// The file is open for appending: each write lands at its end as it is then, never at an offset
// read before another writer (one whose lock this one cannot see) added a row.
bool appendAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t count = ::write(fd, bytes.data(), bytes.size());
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(count));
  }
  return true;
}

void flushFolder(const std::filesystem::path& file) {
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
  OpenFile handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (handle.isOpen()) ::fsync(handle.fd());
}

// The torn tail cut off, then the bytes written and flushed; on failure the file is cut back.
bool appendAt(int fd, std::uintmax_t keepBytes, std::string_view bytes, std::uintmax_t size) {
  const auto keep = static_cast<off_t>(keepBytes);
  if (keepBytes > size) return false;
  if (keepBytes < size && ::ftruncate(fd, keep) != 0) return false;
  if (appendAll(fd, bytes) && ::fsync(fd) == 0) return true;
  [[maybe_unused]] const int ignored = ::ftruncate(fd, keep);
  return false;
}

// An existing file is opened through a link, as config.json is written through one; a new file is
// never created through one: a link that leads nowhere is left as it is.
int openForAppending(const std::filesystem::path& file) {
  constexpr int kFlags = O_RDWR | O_APPEND | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  const int fd = ::open(file.c_str(), kFlags);
  if (fd >= 0 || errno != ENOENT) return fd;
  return ::open(file.c_str(), kFlags | O_CREAT | O_EXCL | O_NOFOLLOW, kNewHistoryMode);
}

bool carryOut(int fd, const std::filesystem::path& file, const HistoryFileEdit& edit, std::uintmax_t size) {
  switch (edit.kind) {
    case HistoryFileEdit::Kind::Leave:
      return true;
    case HistoryFileEdit::Kind::Append:
      if (!appendAt(fd, edit.keepBytes, edit.bytes, size)) return false;
      if (size == 0) flushFolder(file);  // a new file: its name must survive a power cut too
      return true;
    case HistoryFileEdit::Kind::Replace:
      return replaceRecordFile(file, edit.bytes);
  }
  return false;
}

}  // namespace

bool editHistoryFile(const std::filesystem::path& file, std::uintmax_t maxReadBytes, const HistoryFilePlan& plan) {
  for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
    struct stat status;
    // A pipe or a device is never opened: opening one can block or have effects of its own.
    if (::stat(file.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) return false;
    OpenFile history(openForAppending(file));
    if (!history.isOpen() && errno == EEXIST) continue;  // created by another editor meanwhile
    if (!history.isOpen()) return false;
    const Opened opened = lockCurrent(history.fd(), file, status);
    if (opened == Opened::Replaced) continue;
    if (opened == Opened::Failed || static_cast<std::uintmax_t>(status.st_size) > maxReadBytes) return false;
    const std::optional<std::string> current = readFromStart(history.fd(), static_cast<std::uintmax_t>(status.st_size), maxReadBytes);
    if (!current) return false;
    return carryOut(history.fd(), file, plan(*current), current->size());
  }
  return false;
}

}  // namespace orelog
