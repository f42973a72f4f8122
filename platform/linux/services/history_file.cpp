// Adding to the history file with POSIX calls: an advisory lock, a bounded read, a cut and an append
// flushed to the disk.
#include "services/history_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "posix_file.h"
#include "services/record_file.h"

namespace orelog {
namespace {

constexpr mode_t kNewHistoryMode = S_IRUSR | S_IWUSR;  // worker names carry the pool account's name
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

// The torn tail cut off, then the bytes written and flushed; on failure the file is cut back.
bool appendAt(int fd, std::uintmax_t keepBytes, std::string_view bytes, std::uintmax_t size) {
  const auto keep = static_cast<off_t>(keepBytes);
  if (keepBytes > size) return false;
  if (keepBytes < size && ::ftruncate(fd, keep) != 0) return false;
  // The file is open for appending: the write lands at its end as it is then, never at an offset read
  // before another writer (one whose lock this one cannot see) added a row.
  if (writeAll(fd, bytes) && ::fsync(fd) == 0) return true;
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
      if (size == 0) flushFolder(folderOf(file));  // a new file: its name must survive a power cut too
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
