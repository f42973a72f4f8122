// The three MPOS API queries: workers, balance and transactions, each committing its own fields.
#pragma once
#include <string>

#include "platform/platform.h"
#include "pool/pool_address.h"
#include "pool/response_buffer.h"
#include "profile/player_record.h"

namespace orelog {

bool queryWorkers(Platform& platform, ResponseBuffer& buffer, const PoolAddress& address,
                  const std::u16string& apiKey, PlayerRecord& record);
bool queryBalance(Platform& platform, ResponseBuffer& buffer, const PoolAddress& address,
                  const std::u16string& apiKey, PlayerRecord& record);
bool queryTransactions(Platform& platform, ResponseBuffer& buffer, const PoolAddress& address,
                       const std::u16string& apiKey, PlayerRecord& record);

}  // namespace orelog
