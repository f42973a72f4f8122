// Fetching the pool's figures: the address, workers, balance and transactions, in that order.
#include "pool/figures_fetch.h"

#include <utility>
#include <variant>

#include "pool/failure_message.h"
#include "pool/pool_address.h"

namespace orelog {

FiguresQuery figuresQueryFor(const PlayerRecord& record) {
  return {record.serverUrl, record.apiKey,
          {record.workers, record.totalHashrate, record.balance, record.payout, record.lastTimestamp,
           record.lastTransactionId}};
}

FetchedFigures fetchPoolFigures(FiguresQuery query, const HttpFetch& fetch, ResponseBuffer& buffer) {
  FetchedFigures fetched{std::move(query.figures), std::nullopt};
  const auto parsed = parsePoolUrl(query.serverUrl);
  if (const auto* error = std::get_if<PoolAddressError>(&parsed)) {
    fetched.failure = std::u16string(*error == PoolAddressError::EngineError ? kMessageAddressEngineError
                                                                             : kMessageAddressNotRecognised);
    return fetched;
  }
  const PoolAddress& address = std::get<PoolAddress>(parsed);
  const struct {
    decltype(&queryWorkers) query;
    std::u16string_view message;
  } steps[] = {{queryWorkers, kMessageWorkersFailed},
               {queryBalance, kMessageBalanceFailed},
               {queryTransactions, kMessageTransactionsFailed}};
  for (const auto& step : steps) {
    const QueryResult result = step.query(fetch, buffer, address, query.apiKey, fetched.figures);
    if (!result.ok()) {
      fetched.failure = failureMessage(step.message, result);
      break;
    }
  }
  return fetched;
}

void applyPoolFigures(PlayerRecord& record, const PoolFigures& figures) {
  record.workers = figures.workers;
  record.totalHashrate = figures.totalHashrate;
  record.balance = figures.balance;
  record.payout = figures.payout;
  record.lastTimestamp = figures.lastTimestamp;
  record.lastTransactionId = figures.lastTransactionId;
}

}  // namespace orelog
