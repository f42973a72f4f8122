// The message of a failed update step: the step on the first line, the cause on the second.
#pragma once
#include <string>
#include <string_view>

#include "pool/pool_queries.h"

namespace orelog {

// The second line for each cause a player can act on.
inline constexpr std::u16string_view kCauseUnreachable = u"サーバーに接続できませんでした。";
inline constexpr std::u16string_view kCauseCertificate = u"サーバーの証明書が拒否されました。";
inline constexpr std::u16string_view kCauseSecureChannel = u"サーバーと暗号化通信を始められませんでした。";
inline constexpr std::u16string_view kCauseTimedOut = u"サーバーの応答がタイムアウトしました。";
inline constexpr std::u16string_view kCauseBroken = u"サーバーとの通信が途中で切れました。";
inline constexpr std::u16string_view kCauseTooLarge = u"サーバーの応答が大きすぎます。";
inline constexpr std::u16string_view kCauseCancelled = u"通信を中止しました。";
inline constexpr std::u16string_view kCauseKeyRefused = u"プールがAPIキーを受け付けませんでした。";
inline constexpr std::u16string_view kCauseNotApi = u"プールの応答がMPOSのAPIのものではありません。";
inline constexpr std::u16string_view kCauseBadAnswer = u"プールの応答の内容を読み取れませんでした。";
// "%d" stands for the status.
inline constexpr std::u16string_view kCauseHttpStatus = u"プールがHTTPステータス%dを返しました。";

// The cause of a failed query as one line; empty for a query that succeeded.
std::u16string failureCause(const QueryResult& result);

// The step's message with the cause below it.
std::u16string failureMessage(std::u16string_view step, const QueryResult& result);

}  // namespace orelog
