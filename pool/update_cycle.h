// One pool update: parse the address, run the three queries, the experience tick, and save.
#pragma once
#include <filesystem>
#include <string_view>

#include "platform/platform.h"
#include "pool/response_buffer.h"
#include "profile/player_record.h"

namespace orelog {

// The message of each step that can fail, shown with the caption "エラー".
inline constexpr std::u16string_view kMessageAddressNotRecognised = u"不明なサーバーアドレスです。";
inline constexpr std::u16string_view kMessageAddressEngineError = u"サーバーアドレスの解析に失敗しました。";
inline constexpr std::u16string_view kMessageWorkersFailed = u"ワーカーの情報取得に失敗しました。";
inline constexpr std::u16string_view kMessageBalanceFailed = u"残高の情報取得に失敗しました。";
inline constexpr std::u16string_view kMessageTransactionsFailed = u"トランザクションの情報取得に失敗しました。";

// Shows the failed step's message through the platform and returns false; true when every step
// succeeded (a failed save at the end is silent and still counts as success). Keeps no state of
// its own, so a cycle started from inside a message box of another is safe.
bool runUpdateCycle(PlayerRecord& record, Platform& platform, ResponseBuffer& buffer,
                    const std::filesystem::path& settingsFile);

}  // namespace orelog
