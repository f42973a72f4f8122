// The connect screen's logic: what its two boxes list, and validating what the player typed.
#pragma once
#include <cstddef>
#include <string_view>

#include "services/platform.h"
#include "profile/player_record.h"

namespace orelog {

// Each field holds at most this many UTF-16 units; serverUrl and apiKey keep room for a terminator.
inline constexpr std::size_t kConnectFieldMaxUnits = kServerUrlMaxUnits;
static_assert(kApiKeyMaxUnits == kConnectFieldMaxUnits, "both fields share one limit");

inline constexpr std::u16string_view kMessageServerUrlTooLong = u"サーバーアドレスが長すぎます。";
inline constexpr std::u16string_view kMessageApiKeyTooLong = u"APIキーが長すぎます。";
inline constexpr std::u16string_view kPoolLabel = u"プール";
inline constexpr std::u16string_view kApiKeyLabel = u"APIキー";
inline constexpr std::u16string_view kConnectButtonCaption = u"接続";

// The pool names in directory order (with serverUrl put first when no pool has that URL) and the
// saved key, each with its selection.
ConnectControlsContent connectControlsContent(const PlayerRecord& record);

// Reads the two fields and stores the pool URL, then the key. A field that is too long shows its
// message and returns false: a too-long pool stores nothing, a too-long key keeps the new URL.
bool validateAndStoreConnectFields(Platform& platform, PlayerRecord& record);

}  // namespace orelog
