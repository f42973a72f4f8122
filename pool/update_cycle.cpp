// The pool update cycle: address, workers, balance, transactions, experience tick, save.
#include "pool/update_cycle.h"

#include <variant>

#include "game/levels.h"
#include "pool/pool_address.h"
#include "pool/pool_queries.h"
#include "profile/settings.h"

namespace orelog {
namespace {

bool fail(Platform& platform, std::u16string_view message) {
  platform.showMessage(message, MessageOwner::None);
  return false;
}

}  // namespace

bool runUpdateCycle(PlayerRecord& record, Platform& platform, ResponseBuffer& buffer,
                    const std::filesystem::path& settingsFile) {
  const std::u16string apiKey = record.apiKey;
  const auto parsed = parsePoolUrl(record.serverUrl);
  if (const auto* error = std::get_if<PoolAddressError>(&parsed)) {
    return fail(platform, *error == PoolAddressError::EngineError ? kMessageAddressEngineError
                                                                   : kMessageAddressNotRecognised);
  }
  const PoolAddress& address = std::get<PoolAddress>(parsed);
  if (!queryWorkers(platform, buffer, address, apiKey, record)) return fail(platform, kMessageWorkersFailed);
  if (!queryBalance(platform, buffer, address, apiKey, record)) return fail(platform, kMessageBalanceFailed);
  if (!queryTransactions(platform, buffer, address, apiKey, record)) {
    return fail(platform, kMessageTransactionsFailed);
  }
  experienceTick(record);
  saveSettings(record, settingsFile);  // a failed save is silent; the next cycle saves again
  return true;
}

}  // namespace orelog
