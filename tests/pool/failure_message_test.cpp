// From the kind of a failed query to the lines the player reads.
#include <gtest/gtest.h>

#include <string>

#include "pool/failure_message.h"
#include "pool/figures_fetch.h"
#include "tests/support/printable.h"

namespace orelog {
namespace {

// Each cause with the second line naming it and the third saying what to do (none where nothing
// the player does usually helps).
struct CauseCase {
  QueryResult result;
  std::u16string secondLine;
  std::u16string_view thirdLine;
};

void PrintTo(const CauseCase& value, std::ostream* out) { *out << test::printable(value.secondLine); }

class FailureMessage : public testing::TestWithParam<CauseCase> {};

TEST_P(FailureMessage, KeepsTheStepAndNamesTheCauseAndTheRemedyBelow) {
  std::u16string expected = std::u16string(kMessageWorkersFailed) + u"\n" + GetParam().secondLine;
  if (!GetParam().thirdLine.empty()) expected.append(u"\n").append(GetParam().thirdLine);
  EXPECT_EQ(failureMessage(kMessageWorkersFailed, GetParam().result), expected);
}

QueryResult fetchFailed(HttpFailure failure) { return {QueryFailure::Fetch, httpFailed(failure)}; }
QueryResult answered(QueryFailure failure, int status) { return {failure, {HttpFailure::None, status, 10}}; }

constexpr std::u16string_view kNoAdvice;
constexpr std::u16string_view kCheckNetwork = u"アドレスとネットワークの接続を確かめてください。";
constexpr std::u16string_view kCheckCertificate =
    u"アドレスを確かめてください。証明書の通らないhttpsのプールは信用できません。";
constexpr std::u16string_view kApiScript = u"アドレスはプールのAPIのスクリプト（ふつうはindex.php）で終わります。";
constexpr std::u16string_view kCopyKey = u"プールのアカウントページからAPIキーをコピーし直してください。";
constexpr std::u16string_view kWait = u"しばらくお待ちください。ゲームが自分でまた問い合わせます。";
constexpr std::u16string_view kNextUpdate = u"プールが重いか止まっています。次の更新でまた試します。";

INSTANTIATE_TEST_SUITE_P(
    Causes, FailureMessage,
    testing::Values(
        CauseCase{fetchFailed(HttpFailure::Unreachable), u"サーバーに接続できませんでした。", kCheckNetwork},
        CauseCase{fetchFailed(HttpFailure::Certificate), u"サーバーの証明書が拒否されました。", kCheckCertificate},
        CauseCase{fetchFailed(HttpFailure::SecureChannel), u"サーバーと暗号化通信を始められませんでした。",
                  kCheckCertificate},
        CauseCase{fetchFailed(HttpFailure::TimedOut), u"サーバーの応答がタイムアウトしました。", kNextUpdate},
        CauseCase{fetchFailed(HttpFailure::Broken), u"サーバーとの通信が途中で切れました。", kNoAdvice},
        CauseCase{fetchFailed(HttpFailure::TooLarge), u"サーバーの応答が大きすぎます。", kNoAdvice},
        CauseCase{fetchFailed(HttpFailure::Cancelled), u"通信を中止しました。", kNoAdvice},
        CauseCase{fetchFailed(HttpFailure::RedirectLoop), u"サーバーが転送を繰り返し、応答にたどり着けませんでした。",
                  kCheckNetwork},
        CauseCase{fetchFailed(HttpFailure::RedirectedAway), u"サーバーが受け付けられない場所へ転送しました。",
                  kCheckNetwork},
        CauseCase{answered(QueryFailure::KeyRefused, 401), u"プールがAPIキーを受け付けませんでした。", kCopyKey},
        CauseCase{answered(QueryFailure::HttpStatus, 404), u"プールがHTTPステータス404を返しました。", kApiScript},
        CauseCase{answered(QueryFailure::HttpStatus, 503), u"プールがHTTPステータス503を返しました。", kNoAdvice},
        CauseCase{answered(QueryFailure::NotApi, 200), u"プールの応答がMPOSのAPIのものではありません。", kApiScript},
        CauseCase{answered(QueryFailure::BadAnswer, 200), u"プールの応答の内容を読み取れませんでした。", kNoAdvice},
        CauseCase{answered(QueryFailure::Throttled, 401),
                  u"プールが問い合わせの回数を制限しています。", kWait}));

TEST(FailureMessage, AThrottledPoolIsNeverToldAsARefusedKey) {
  EXPECT_NE(failureCause(answered(QueryFailure::Throttled, 401)), failureCause(answered(QueryFailure::KeyRefused, 401)));
}

TEST(FailureMessage, ASucceededQueryAddsNoLine) {
  EXPECT_EQ(failureMessage(kMessageBalanceFailed, answered(QueryFailure::None, 200)), kMessageBalanceFailed);
}

// Which kind an unread body is, from the body and its status.
struct BodyCase {
  std::string body;
  int status;
  QueryFailure expected;
};

void PrintTo(const BodyCase& value, std::ostream* out) { *out << test::printable(value.body) << " " << value.status; }

class UnreadAnswer : public testing::TestWithParam<BodyCase> {};

TEST_P(UnreadAnswer, IsJudgedByStatusAndShape) {
  EXPECT_EQ(judgeUnreadAnswer(GetParam().body, "getuserbalance", GetParam().status), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, UnreadAnswer,
    testing::Values(BodyCase{"Access denied", 401, QueryFailure::KeyRefused},  // MPOS's wrong key
                    // MPOS's flood limit: the dashboard's actions get 401 without a body, the others
                    // its error page with HTTP 200, or a bare sentence when that page is switched off.
                    BodyCase{"", 401, QueryFailure::Throttled}, BodyCase{"\r\n", 401, QueryFailure::Throttled},
                    BodyCase{"<article class=\"module width_full\">\n<header><h3>Request rate limit exceeded</h3>"
                             "</header>\n<div class=\"module_content\">\n<p>You're sending too many requests too "
                             "fast!</p>\n</div>\n</article>",
                             200, QueryFailure::Throttled},
                    BodyCase{"You are sending too many requests too fast!", 200, QueryFailure::Throttled},
                    BodyCase{"Too Many Requests", 429, QueryFailure::Throttled},
                    BodyCase{"Unauthorized", 401, QueryFailure::KeyRefused},
                    BodyCase{"Access denied", 200, QueryFailure::KeyRefused},  // a proxy that drops the status
                    BodyCase{"501 Not implemented", 501, QueryFailure::HttpStatus},  // the API switched off
                    BodyCase{"<!DOCTYPE html><title>404</title>", 404, QueryFailure::HttpStatus},
                    BodyCase{"<!DOCTYPE html><title>Pool</title>", 200, QueryFailure::NotApi},
                    BodyCase{"", 200, QueryFailure::NotApi},
                    BodyCase{R"({"getuserworkers":{"data":[]}})", 200, QueryFailure::NotApi},  // another action
                    BodyCase{R"({"error":"maintenance"})", 0, QueryFailure::NotApi},
                    BodyCase{R"({"getuserbalance":{"data":{"confirmed":"n/a"}}})", 200, QueryFailure::BadAnswer},
                    BodyCase{R"({"getuserbalance":{"data":null}})", 500, QueryFailure::BadAnswer}));

}  // namespace
}  // namespace orelog
