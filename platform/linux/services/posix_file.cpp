// The POSIX file calls the record and the history share.
#include "posix_file.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace orelog {

std::optional<std::string> readFromStart(int fd, std::uintmax_t expectedBytes, std::uintmax_t maxBytes) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(std::min(expectedBytes, maxBytes) + 1));
  std::vector<char> chunk(kFileChunkBytes);
  for (;;) {
    const ssize_t count = ::pread(fd, chunk.data(), chunk.size(), static_cast<off_t>(bytes.size()));
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return std::nullopt;
    if (count == 0) return bytes;
    bytes.append(chunk.data(), static_cast<std::size_t>(count));
    if (bytes.size() > maxBytes) return std::nullopt;
  }
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t count = ::write(fd, bytes.data(), bytes.size());
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(count));
  }
  return true;
}

std::filesystem::path folderOf(const std::filesystem::path& file) {
  return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

void flushFolder(const std::filesystem::path& folder) {
  OpenFile handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (handle.isOpen()) ::fsync(handle.fd());
}

}  // namespace orelog
