// Fetching the pool's figures: parse the address and run the three queries, on any thread; then
// commit what they fetched to the record on the owner's thread.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "pool/pool_queries.h"
#include "pool/response_buffer.h"
#include "profile/player_record.h"

namespace orelog {

// The message of each step that can fail, shown with the caption "エラー".
inline constexpr std::u16string_view kMessageAddressNotRecognised = u"不明なサーバーアドレスです。";
inline constexpr std::u16string_view kMessageAddressEngineError = u"サーバーアドレスの解析に失敗しました。";
inline constexpr std::u16string_view kMessageWorkersFailed = u"ワーカーの情報取得に失敗しました。";
inline constexpr std::u16string_view kMessageBalanceFailed = u"残高の情報取得に失敗しました。";
inline constexpr std::u16string_view kMessageTransactionsFailed = u"トランザクションの情報取得に失敗しました。";

// What a fetch is given: where to ask, with which key, and the record's figures to start from.
struct FiguresQuery {
  std::u16string serverUrl;
  std::u16string apiKey;
  PoolFigures figures;
};

// What the queries of one fetch filled: the figures with every field the queries committed
// before the first failing step, and that step's message (a failed query's with its cause on a
// second line).
struct FetchedFigures {
  PoolFigures figures;
  std::optional<std::u16string> failure;
};

// The query for the record's pool, key and current figures.
FiguresQuery figuresQueryFor(const PlayerRecord& record);

// Runs the steps in order and stops at the first that fails. Touches nothing but its arguments,
// so it may run on a thread of its own while the record lives on.
FetchedFigures fetchPoolFigures(FiguresQuery query, const HttpFetch& fetch, ResponseBuffer& buffer);

// Commits the queries' own fields (workers, hashrate, balance, payout, newest transaction) of a
// fetch to the record, whether or not a later step failed.
void applyPoolFigures(PlayerRecord& record, const PoolFigures& figures);

}  // namespace orelog
