// The connect screen's logic: what its two boxes list, and validating what the player typed.
#pragma once
#include "platform/platform.h"
#include "profile/player_record.h"

namespace orelog {

// The pool names in directory order (with serverUrl put first when no pool has that URL) and the
// saved key, each with its selection.
ConnectControlsContent connectControlsContent(const PlayerRecord& record);

// Reads the two fields; stores the pool URL and the key, or shows the message and returns false.
bool validateAndStoreConnectFields(Platform& platform, PlayerRecord& record);

}  // namespace orelog
