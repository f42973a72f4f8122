// One pool update's network half: the address, workers, balance and transactions, in that order.
#include "pool/update_cycle.h"

#include <utility>
#include <variant>

#include "pool/failure_message.h"
#include "pool/pool_address.h"

namespace orelog {

FetchedFigures fetchPoolFigures(PlayerRecord snapshot, const HttpFetch& fetch, ResponseBuffer& buffer) {
  FetchedFigures fetched{std::move(snapshot), std::nullopt};
  PlayerRecord& record = fetched.figures;
  const std::u16string apiKey = record.apiKey;
  const auto parsed = parsePoolUrl(record.serverUrl);
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
    const QueryResult result = step.query(fetch, buffer, address, apiKey, record);
    if (!result.ok()) {
      fetched.failure = failureMessage(step.message, result);
      break;
    }
  }
  return fetched;
}

void applyPoolFigures(PlayerRecord& record, const PlayerRecord& figures) {
  record.workers = figures.workers;
  record.totalHashrate = figures.totalHashrate;
  record.balance = figures.balance;
  record.payout = figures.payout;
  record.lastTimestamp = figures.lastTimestamp;
}

}  // namespace orelog
