// The three MPOS API queries: workers, balance and transactions, each committing its own fields.
#pragma once
#include <functional>
#include <span>
#include <string>

#include "platform/http.h"
#include "pool/pool_address.h"
#include "pool/response_buffer.h"
#include "profile/player_record.h"

namespace orelog {

// One GET of the pool client: the body into the buffer, its length or -1 (see platform/http.h).
using HttpFetch = std::function<int(const HttpRequest& request, std::span<uint8_t> buffer)>;

// Each fetches one action's answer and, when it reads cleanly, commits its own fields of record;
// false when the fetch or the answer fails (the workers query may leave a partial list then).
bool queryWorkers(const HttpFetch& fetch, ResponseBuffer& buffer, const PoolAddress& address,
                  const std::u16string& apiKey, PlayerRecord& record);
bool queryBalance(const HttpFetch& fetch, ResponseBuffer& buffer, const PoolAddress& address,
                  const std::u16string& apiKey, PlayerRecord& record);
bool queryTransactions(const HttpFetch& fetch, ResponseBuffer& buffer, const PoolAddress& address,
                       const std::u16string& apiKey, PlayerRecord& record);

}  // namespace orelog
