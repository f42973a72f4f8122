// The Win32 file calls the record and the history share.
#include "win32_file.h"

#include <algorithm>
#include <vector>

namespace orelog {

std::optional<std::string> readBounded(HANDLE file, std::uintmax_t expectedBytes, std::uintmax_t maxBytes) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(std::min(expectedBytes, maxBytes) + 1));
  std::vector<char> chunk(kFileChunkBytes);
  for (;;) {
    DWORD count = 0;
    if (!ReadFile(file, chunk.data(), kFileChunkBytes, &count, nullptr)) return std::nullopt;
    if (count == 0) return bytes;
    bytes.append(chunk.data(), count);
    if (bytes.size() > maxBytes) return std::nullopt;
  }
}

bool writeAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kFileChunkBytes));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), wanted, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

std::filesystem::path folderOf(const std::filesystem::path& file) {
  return file.has_parent_path() ? file.parent_path() : std::filesystem::path(L".");
}

}  // namespace orelog
