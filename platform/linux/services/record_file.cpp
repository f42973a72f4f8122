// Reading and replacing the record file with POSIX calls: bounded reads, exclusive temporary files,
// flushes of the file and its folder.
#include "services/record_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <functional>
#include <optional>
#include <string>

#include "posix_file.h"

namespace orelog {
namespace {

constexpr int kMaxLinkHops = 40;  // the kernel's own limit for one path
constexpr const char* kUniquePart = "XXXXXX";  // what mkostemps replaces
constexpr std::size_t kUniquePartLength = 6;
constexpr mode_t kNewRecordMode = S_IRUSR | S_IWUSR;  // it holds the API key
constexpr mode_t kPermissionBits = 07777;
// A cleaner may unlink a temporary file between its creation and its lock; a new name is then taken.
constexpr int kCreateAttempts = 8;

RecordFileRead withState(RecordFileState state) {
  return {state, {}};
}

// The rest of `from` appended to `to`.
bool copyAll(int from, int to) {
  char chunk[kFileChunkBytes];
  for (;;) {
    const ssize_t count = ::read(from, chunk, sizeof chunk);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return false;
    if (count == 0) return true;
    if (!writeAll(to, std::string_view(chunk, static_cast<std::size_t>(count)))) return false;
  }
}

// The file a chain of symbolic links ends at (the path itself when it is no link, or when nothing
// of that name exists yet); nullopt for a loop.
std::optional<std::filesystem::path> finalTarget(std::filesystem::path path) {
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat status;
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
    char link[PATH_MAX];
    const ssize_t length = ::readlink(path.c_str(), link, sizeof link);
    if (length < 0 || static_cast<std::size_t>(length) >= sizeof link) return std::nullopt;
    const std::filesystem::path next(std::string(link, static_cast<std::size_t>(length)));
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return std::nullopt;
}

// Where the new record goes: through the links to a regular file, or to a name not taken yet. A link
// that ends at anything else (a device, a pipe, a folder) is itself replaced: what lies at its end is
// no record, and a device must never be renamed over.
std::optional<std::filesystem::path> recordToReplace(const std::filesystem::path& file) {
  const std::optional<std::filesystem::path> target = finalTarget(file);
  if (!target) return std::nullopt;
  struct stat status;
  if (::stat(target->c_str(), &status) == 0 && !S_ISREG(status.st_mode)) return file;
  return target;
}

bool isTemporaryName(std::string_view name, std::string_view recordName) {
  const std::size_t length =
      recordName.size() + 1 + kUniquePartLength + std::string_view(kRecordTemporarySuffix).size();
  return name.size() == length && name.substr(0, recordName.size()) == recordName &&
         name[recordName.size()] == '.' &&
         name.substr(length - std::string_view(kRecordTemporarySuffix).size()) == kRecordTemporarySuffix;
}

// Every writer holds a lock on its temporary file until the rename, and the system drops the lock
// when a writer dies; a temporary file nobody holds is left over from a killed writer.
void removeLeftoverTemporaries(const std::filesystem::path& folder, const std::string& recordName) {
  DIR* listing = ::opendir(folder.c_str());
  if (listing == nullptr) return;
  const int folderFd = ::dirfd(listing);
  while (const dirent* entry = ::readdir(listing)) {
    if (!isTemporaryName(entry->d_name, recordName)) continue;
    // Never follows a link planted under a temporary name, never blocks on a pipe.
    OpenFile leftover(::openat(folderFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat status;
    if (!leftover.isOpen() || ::fstat(leftover.fd(), &status) != 0 || !S_ISREG(status.st_mode)) continue;
    if (::flock(leftover.fd(), LOCK_EX | LOCK_NB) == 0) ::unlinkat(folderFd, entry->d_name, 0);
  }
  ::closedir(listing);
}

// A new temporary file beside the target, created exclusively under a fresh name and locked;
// its path is written to `path`.
int createTemporary(const std::filesystem::path& target, std::string& path) {
  for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
    path = target.string() + "." + kUniquePart + kRecordTemporarySuffix;
    // mkostemps opens with O_CREAT | O_EXCL and mode 0600: an existing name, a link included, is
    // never opened.
    const int fd = ::mkostemps(path.data(), static_cast<int>(std::string_view(kRecordTemporarySuffix).size()),
                               O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat status;
    // Unlinked by another writer's clean-up before the lock was taken: take a new name.
    if (::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &status) == 0 && status.st_nlink > 0) return fd;
    ::close(fd);
  }
  return -1;
}

// The old record's permissions and owner, or owner-only for a new record. Changing the owner works
// only for a privileged writer and is skipped otherwise.
bool takeOverPermissions(int fd, const std::filesystem::path& target) {
  struct stat old;
  if (::stat(target.c_str(), &old) != 0 || !S_ISREG(old.st_mode)) return ::fchmod(fd, kNewRecordMode) == 0;
  struct stat mine;
  if (::fstat(fd, &mine) == 0 && (mine.st_uid != old.st_uid || mine.st_gid != old.st_gid)) {
    [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
  }
  return ::fchmod(fd, old.st_mode & kPermissionBits) == 0;
}

// A new file beside `target` filled by `fill`, flushed and renamed to `target`. On failure nothing
// under the name `target` has changed and the temporary file is gone.
bool writeBesideAndRename(const std::filesystem::path& target, const std::function<bool(int fd)>& fill) {
  const std::filesystem::path folder = folderOf(target);
  removeLeftoverTemporaries(folder, target.filename().string());
  std::string temporary;
  OpenFile out(createTemporary(target, temporary));
  if (!out.isOpen()) return false;
  const bool written = fill(out.fd()) && ::fsync(out.fd()) == 0;
  // The lock is held until the rename is done, so no clean-up removes the file before it.
  if (!written || ::rename(temporary.c_str(), target.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  out.close();
  flushFolder(folder);  // the rename itself made durable
  return true;
}

// A regular file opened for reading through links, never blocking on a pipe or a device.
int openRegularFile(const std::filesystem::path& file) {
  struct stat status;
  if (::stat(file.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return -1;
  const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd >= 0 && (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))) {
    ::close(fd);  // replaced by something else since the check
    return -1;
  }
  return fd;
}

// Why a file could not be looked at or opened: only a name that is not there is missing; anything
// else (no permission on the file or its folder) may hide the player's record.
RecordFileState stateAfterFailure(int error) {
  if (error == ENOENT || error == ENOTDIR) return RecordFileState::Missing;
  if (error == ELOOP) return RecordFileState::Damaged;
  return RecordFileState::Unreadable;
}

}  // namespace

RecordFileRead readRecordFile(const std::filesystem::path& file, std::uintmax_t maxBytes) {
  struct stat status;
  if (::stat(file.c_str(), &status) != 0) return withState(stateAfterFailure(errno));
  // A pipe or a device is never opened: opening one can block or have effects of its own.
  if (!S_ISREG(status.st_mode) || static_cast<std::uintmax_t>(status.st_size) > maxBytes) {
    return withState(RecordFileState::Damaged);
  }
  // Non-blocking as well, in case the name was replaced by a pipe since the check above.
  OpenFile in(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!in.isOpen()) return withState(stateAfterFailure(errno));
  if (::fstat(in.fd(), &status) != 0 || !S_ISREG(status.st_mode)) return withState(RecordFileState::Damaged);
  std::optional<std::string> bytes =
      readFromStart(in.fd(), static_cast<std::uintmax_t>(status.st_size), maxBytes);
  if (!bytes) return withState(RecordFileState::Damaged);
  return {RecordFileState::Read, std::move(*bytes)};
}

bool replaceRecordFile(const std::filesystem::path& file, std::string_view bytes) {
  const std::optional<std::filesystem::path> target = recordToReplace(file);
  if (!target) return false;
  return writeBesideAndRename(*target,
                              [&](int fd) { return takeOverPermissions(fd, *target) && writeAll(fd, bytes); });
}

RecordCopy copyRecordFile(const std::filesystem::path& from, const std::filesystem::path& copy) {
  OpenFile source(openRegularFile(from));
  if (!source.isOpen()) return RecordCopy::NothingToCopy;
  struct stat status;
  if (::lstat(copy.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) return RecordCopy::NameTaken;
  // The rename replaces whatever took the name meanwhile, a link included, and never what it points at.
  const bool kept = writeBesideAndRename(
      copy, [&](int fd) { return ::fchmod(fd, kNewRecordMode) == 0 && copyAll(source.fd(), fd); });
  return kept ? RecordCopy::Kept : RecordCopy::Failed;
}

}  // namespace orelog
