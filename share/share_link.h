// The microblog message about the player's progress, and the tweet-intent link that carries it.
#pragma once
#include <string>
#include <string_view>

#include "profile/player_record.h"

namespace orelog {

// A name too long for the link's buffers is shortened, a whole character at a time, until it fits.
std::u16string shareMessage(const PlayerRecord& record);
// Letters and - _ . ~ stay; every other byte, digits included, becomes %xx in lower-case hex.
std::string percentEncode(std::string_view utf8);
std::string shareLink(const PlayerRecord& record);

}  // namespace orelog
