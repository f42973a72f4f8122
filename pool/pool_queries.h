// The three MPOS API queries: workers, balance and transactions, each committing its own fields.
#pragma once
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "services/http.h"
#include "pool/pool_address.h"
#include "pool/response_buffer.h"
#include "profile/player_record.h"

namespace orelog {

// One GET of the pool client: the body into the buffer, its length or -1 (see services/http.h).
using HttpFetch = std::function<int(const HttpRequest& request, std::span<uint8_t> buffer)>;

// Each fetches one action's answer and, when it reads cleanly, commits its own fields of record
// as the reading half below does; false when the fetch or the answer fails (the workers query may
// leave a partial list then).
bool queryWorkers(const HttpFetch& fetch, ResponseBuffer& buffer, const PoolAddress& address,
                  const std::u16string& apiKey, PlayerRecord& record);
bool queryBalance(const HttpFetch& fetch, ResponseBuffer& buffer, const PoolAddress& address,
                  const std::u16string& apiKey, PlayerRecord& record);
bool queryTransactions(const HttpFetch& fetch, ResponseBuffer& buffer, const PoolAddress& address,
                       const std::u16string& apiKey, PlayerRecord& record);

// The answers' reading half: parse one body and commit its figures to the record, as the queries
// do after their fetch. False, with the record's fields as the queries leave them on a failure,
// when the body is not a well-formed answer.
bool readWorkersAnswer(std::string_view body, PlayerRecord& record);
bool readBalanceAnswer(std::string_view body, PlayerRecord& record);
bool readTransactionsAnswer(std::string_view body, PlayerRecord& record);

}  // namespace orelog
