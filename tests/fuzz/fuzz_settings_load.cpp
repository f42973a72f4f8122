// Fuzzing config.json: any bytes load or fail cleanly, and a record that loaded saves, loads again
// and saves to the very same text.
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>

#include "profile/settings.h"
#include "tests/support/read_file.h"

namespace {

std::filesystem::path gFolder;

void removeFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(gFolder, ignored);
}

void writeBytes(const std::filesystem::path& file, const uint8_t* data, std::size_t size) {
  std::ofstream(file, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Memory-backed where the system has it: every input is written and read as a real file.
  const char* base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
  std::string pattern = std::string(base) + "/orelog-fuzz-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) abort();
  gFolder = pattern;
  atexit(removeFolder);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::filesystem::path file = gFolder / "config.json";
  writeBytes(file, data, size);
  orelog::PlayerRecord record;
  if (!orelog::loadSettings(record, file, 0)) return 0;
  // Every record that loads holds finite numbers only, so it saves.
  if (!orelog::saveSettings(record, file)) abort();
  const std::string first = orelog::test::readFile(file);
  orelog::PlayerRecord again;
  if (!orelog::loadSettings(again, file, 0)) abort();
  if (!orelog::saveSettings(again, file) || orelog::test::readFile(file) != first) abort();
  return 0;
}
