// One pool update's network half: the address, workers, balance and transactions, in that order.
#include "pool/update_cycle.h"

#include <utility>
#include <variant>

#include "pool/pool_address.h"

namespace orelog {

FetchedFigures fetchPoolFigures(PlayerRecord snapshot, const HttpFetch& fetch, ResponseBuffer& buffer) {
  FetchedFigures fetched{std::move(snapshot), std::nullopt};
  PlayerRecord& record = fetched.figures;
  const std::u16string apiKey = record.apiKey;
  const auto parsed = parsePoolUrl(record.serverUrl);
  if (const auto* error = std::get_if<PoolAddressError>(&parsed)) {
    fetched.failure = *error == PoolAddressError::EngineError ? kMessageAddressEngineError
                                                              : kMessageAddressNotRecognised;
    return fetched;
  }
  const PoolAddress& address = std::get<PoolAddress>(parsed);
  if (!queryWorkers(fetch, buffer, address, apiKey, record)) {
    fetched.failure = kMessageWorkersFailed;
  } else if (!queryBalance(fetch, buffer, address, apiKey, record)) {
    fetched.failure = kMessageBalanceFailed;
  } else if (!queryTransactions(fetch, buffer, address, apiKey, record)) {
    fetched.failure = kMessageTransactionsFailed;
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
