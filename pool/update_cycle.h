// One pool update: parse the address, run the three queries, the experience tick, and save.
#pragma once
#include <filesystem>

#include "platform/platform.h"
#include "pool/response_buffer.h"
#include "profile/player_record.h"

namespace orelog {

// Shows the failed step's message through the platform and returns false; true when every step
// succeeded (a failed save at the end is silent and still counts as success).
bool runUpdateCycle(PlayerRecord& record, Platform& platform, ResponseBuffer& buffer,
                    const std::filesystem::path& settingsFile);

}  // namespace orelog
