// The file-system steps that reading and replacing the record file take, one implementation per platform.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace orelog {

// No record the game can make comes near this size; a larger file is damaged, and reading stops there.
inline constexpr std::uintmax_t kRecordFileMaxBytes = 64u * 1024u * 1024u;

enum class RecordFileState {
  Read,        // bytes holds the whole file
  Missing,     // no file of that name: nothing to keep aside
  Unreadable,  // it may exist but cannot be opened (no permission, or another program holds it)
  Damaged,     // not a regular file (a pipe, a device, a folder), larger than the limit, or a read failed
};

struct RecordFileRead {
  RecordFileState state = RecordFileState::Missing;
  std::string bytes;
};

// Reads the whole file, following a symbolic link. Never blocks on a pipe or a device and never
// reads more than maxBytes + 1 bytes.
RecordFileRead readRecordFile(const std::filesystem::path& file,
                              std::uintmax_t maxBytes = kRecordFileMaxBytes);

// Replaces the file's content with bytes so that, whatever happens meanwhile (the process killed,
// the power cut, the disk full, another process replacing it too), the file is always either its
// old content or the complete new one:
//  - a symbolic link is resolved and its final target is replaced; the link stays a link. A link
//    that ends at no regular file (a device, a pipe, a folder) is replaced itself, never its end;
//  - the bytes go to a temporary file beside that target, under a name no other writer uses,
//    created exclusively (an existing file or link of that name is never opened or followed);
//  - the temporary file gets the old file's permissions (and owner where allowed), or owner-only
//    read and write when there is no old file, as it holds the API key;
//  - it is flushed to the disk, renamed over the target, and the folder is flushed so the rename
//    itself survives a power cut.
// False when any step fails; the old file is then untouched and the temporary file removed.
// Temporary files left by writers that were killed are removed once no process holds them.
bool replaceRecordFile(const std::filesystem::path& file, std::string_view bytes);

enum class RecordCopy {
  Kept,           // the copy was written and renamed into place
  NothingToCopy,  // `from` is no regular file (missing, a pipe, a device, a folder, a link loop)
  NameTaken,      // `copy` is a link, a folder or anything else but a regular file: left alone
  Failed,         // a step failed; nothing under the name `copy` has changed
};

// Keeps the whole of the file `from` (read through links, whatever its size) under the name
// `copy`, written the way replaceRecordFile writes: a fresh temporary file beside `copy` that is
// never a link, owner-only, flushed, then renamed to `copy`. An older regular file of that name is
// replaced; a link of that name is never followed, and neither it nor a folder is replaced.
RecordCopy copyRecordFile(const std::filesystem::path& from, const std::filesystem::path& copy);

// The temporary file's name pattern beside a target "<name>": "<name>.<unique part>.tmp".
inline constexpr const char* kRecordTemporarySuffix = ".tmp";

}  // namespace orelog
