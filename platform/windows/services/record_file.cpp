// Reading and replacing the record file with the C runtime's wide-name calls and MoveFileExW.
#include "services/record_file.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cstdio>
#include <random>
#include <string>

namespace orelog {
namespace {

constexpr std::size_t kReadChunkBytes = 64 * 1024;
constexpr int kCreateAttempts = 16;
constexpr unsigned kUniqueRange = 0x1000000;  // six hexadecimal digits

// "<file>.<six hex digits>.tmp", as on every platform.
std::filesystem::path temporaryName(const std::filesystem::path& file, std::mt19937& random) {
  wchar_t unique[8];
  std::swprintf(unique, 8, L"%06x", static_cast<unsigned>(random() % kUniqueRange));
  std::filesystem::path name = file;
  name += L".";
  name += unique;
  name += kRecordTemporarySuffix;
  return name;
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const int count = _write(fd, bytes.data(), static_cast<unsigned>(bytes.size()));
    if (count <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(count));
  }
  return true;
}

}  // namespace

RecordFileRead readRecordFile(const std::filesystem::path& file, std::uintmax_t maxBytes) {
  struct _stat64 status;
  if (_wstat64(file.c_str(), &status) != 0) return {RecordFileState::Missing, {}};
  if ((status.st_mode & _S_IFMT) != _S_IFREG || static_cast<std::uintmax_t>(status.st_size) > maxBytes) {
    return {RecordFileState::Damaged, {}};
  }
  std::FILE* in = _wfopen(file.c_str(), L"rb");
  if (in == nullptr) return {RecordFileState::Missing, {}};
  RecordFileRead read{RecordFileState::Read, {}};
  char chunk[kReadChunkBytes];
  std::size_t count = 0;
  while ((count = std::fread(chunk, 1, sizeof chunk, in)) > 0 && read.bytes.size() <= maxBytes) {
    read.bytes.append(chunk, count);
  }
  if (std::ferror(in) != 0 || read.bytes.size() > maxBytes) read = {RecordFileState::Damaged, {}};
  std::fclose(in);
  return read;
}

// Links are not resolved here and left-over temporary files are not removed yet.
bool replaceRecordFile(const std::filesystem::path& file, std::string_view bytes) {
  std::mt19937 random(std::random_device{}());
  for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
    const std::filesystem::path temporary = temporaryName(file, random);
    const int fd =
        _wopen(temporary.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) return false;
    const bool written = writeAll(fd, bytes) && _commit(fd) == 0;
    const bool closed = _close(fd) == 0;
    if (written && closed &&
        MoveFileExW(temporary.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return true;
    }
    _wremove(temporary.c_str());
    return false;
  }
  return false;
}

}  // namespace orelog
