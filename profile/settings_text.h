// The text halves of loading and saving config.json, apart from the file: the load's reading of the
// values and the save's text.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "profile/player_record.h"

namespace orelog {

// loaded: the record took the text's values (else the defaults); clean: the text had no fault at
// all, so it need not be kept aside.
struct SettingsTextRead {
  bool loaded = false;
  bool clean = false;
};
SettingsTextRead readSettingsText(PlayerRecord& record, std::string_view text);

// The file's text for the record; nullopt when a number is not finite or the text would be larger
// than a load accepts (kRecordFileMaxBytes).
std::optional<std::string> settingsText(const PlayerRecord& record);
// Whether settingsText would give a text, found without the memory of writing it.
bool settingsCanBeSaved(const PlayerRecord& record);

}  // namespace orelog
