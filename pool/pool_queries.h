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

// One GET of the pool client: the body into the buffer (see services/http.h).
using HttpFetch = std::function<HttpResult(const HttpRequest& request, std::span<uint8_t> buffer)>;

// Why a query failed, as far as the player can act on it.
enum class QueryFailure {
  None,
  Fetch,       // no answer: the fetch's own failure says why
  KeyRefused,  // MPOS answers a wrong key with 401 "Access denied"
  HttpStatus,  // an error status with a body that is no answer
  NotApi,      // a body that is not MPOS's answer to the action: some other web page
  BadAnswer,   // MPOS's envelope around figures that cannot be read
  Throttled,   // the pool asks for fewer requests for a while
};

struct QueryResult {
  QueryFailure failure = QueryFailure::None;
  HttpResult fetched;  // how the fetch went; its status also when the answer was at fault

  bool ok() const { return failure == QueryFailure::None; }
};

// Each fetches one action's answer and, when it reads cleanly, commits its own fields of record
// as the reading half below does; a failure when the fetch or the answer fails (the workers query
// may leave a partial list then).
QueryResult queryWorkers(const HttpFetch& fetch, ResponseBuffer& buffer, const PoolAddress& address,
                         const std::u16string& apiKey, PlayerRecord& record);
QueryResult queryBalance(const HttpFetch& fetch, ResponseBuffer& buffer, const PoolAddress& address,
                         const std::u16string& apiKey, PlayerRecord& record);
QueryResult queryTransactions(const HttpFetch& fetch, ResponseBuffer& buffer, const PoolAddress& address,
                              const std::u16string& apiKey, PlayerRecord& record);

// Why a body that did not read as the action's answer failed, given the status it came with
// (0 when unknown).
QueryFailure judgeUnreadAnswer(std::string_view body, std::string_view action, int status);

// The answers' reading half: parse one body and commit its figures to the record, as the queries
// do after their fetch. False, with the record's fields as the queries leave them on a failure,
// when the body is not a well-formed answer.
bool readWorkersAnswer(std::string_view body, PlayerRecord& record);
bool readBalanceAnswer(std::string_view body, PlayerRecord& record);
bool readTransactionsAnswer(std::string_view body, PlayerRecord& record);

}  // namespace orelog
