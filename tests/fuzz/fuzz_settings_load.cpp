// Fuzzing config.json's text: any bytes load or fail cleanly, and a record that loaded gives a text
// that loads again to the very same text. (The file itself, its links, pipes and sizes, is tested
// in tests/records.)
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "profile/settings_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  orelog::PlayerRecord record;
  if (!orelog::readSettingsText(record, {reinterpret_cast<const char*>(data), size}).loaded) return 0;
  // Every record that loads holds finite numbers only, so it can be written.
  const std::optional<std::string> text = orelog::settingsText(record);
  if (!text) abort();
  orelog::PlayerRecord again;
  const orelog::SettingsTextRead reread = orelog::readSettingsText(again, *text);
  if (!reread.loaded || !reread.clean || orelog::settingsText(again) != text) abort();
  return 0;
}
