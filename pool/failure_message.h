// The message of a failed update step: the step on the first line, the cause on the second and,
// where one usually helps, what the player can do about it on the third.
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
inline constexpr std::u16string_view kCauseRedirectLoop = u"サーバーが転送を繰り返し、応答にたどり着けませんでした。";
inline constexpr std::u16string_view kCauseRedirectedAway = u"サーバーが受け付けられない場所へ転送しました。";
inline constexpr std::u16string_view kCauseKeyRefused = u"プールがAPIキーを受け付けませんでした。";
inline constexpr std::u16string_view kCauseThrottled = u"プールが問い合わせの回数を制限しています。";
inline constexpr std::u16string_view kCauseNotApi = u"プールの応答がMPOSのAPIのものではありません。";
inline constexpr std::u16string_view kCauseBadAnswer = u"プールの応答の内容を読み取れませんでした。";
// "%d" stands for the status.
inline constexpr std::u16string_view kCauseHttpStatus = u"プールがHTTPステータス%dを返しました。";

// The third line: the step that usually mends the cause.
inline constexpr std::u16string_view kAdviceCheckNetwork = u"アドレスとネットワークの接続を確かめてください。";
inline constexpr std::u16string_view kAdviceCheckCertificate =
    u"アドレスを確かめてください。証明書の通らないhttpsのプールは信用できません。";
inline constexpr std::u16string_view kAdviceApiScript =
    u"アドレスはプールのAPIのスクリプト（ふつうはindex.php）で終わります。";
inline constexpr std::u16string_view kAdviceCopyKey = u"プールのアカウントページからAPIキーをコピーし直してください。";
inline constexpr std::u16string_view kAdviceWait = u"しばらくお待ちください。ゲームが自分でまた問い合わせます。";
inline constexpr std::u16string_view kAdviceNextUpdate = u"プールが重いか止まっています。次の更新でまた試します。";

// The status whose answer means the address does not lead to the pool's API.
inline constexpr int kStatusNotFound = 404;

// The cause of a failed query as one line; empty for a query that succeeded.
std::u16string failureCause(const QueryResult& result);

// What the player can do about a failed query as one line; empty where no step usually helps.
std::u16string_view failureAdvice(const QueryResult& result);

// The step's message with the cause and the advice below it.
std::u16string failureMessage(std::u16string_view step, const QueryResult& result);

}  // namespace orelog
