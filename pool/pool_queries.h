// The three MPOS API queries: workers, balance and transactions, each committing its own fields.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>

#include "services/http.h"
#include "pool/pool_address.h"
#include "pool/response_buffer.h"

namespace orelog {

// The record's fields the queries fill: what the pool thread works on instead of the record.
struct PoolFigures {
  std::map<std::string, double> workers;  // UTF-8 user name -> the pool's figure in KH/s, byte order
  int64_t totalHashrate = 0;              // KH/s: the workers' figures truncated, summed with saturation
  double balance = 0.0;
  double payout = 0.0;
  int64_t lastTimestamp = 0;      // file-time of the newest transaction already in payout
  int64_t lastTransactionId = 0;  // MPOS's id of the newest transaction already in payout; 0 = none yet
};

// One GET of the pool client: the body into the buffer (see services/http.h).
using HttpFetch = std::function<HttpResult(const HttpRequest& request, std::span<uint8_t> buffer)>;

// Why a query failed, as far as the player can act on it.
enum class QueryFailure {
  None,
  Fetch,       // no answer: the fetch's own failure says why
  KeyRefused,  // MPOS answers a wrong key with 401 "Access denied"
  Throttled,   // the pool's limit on requests per minute: wait, and the next update asks again
  HttpStatus,  // an error status with a body that is no answer
  NotApi,      // a body that is not MPOS's answer to the action: some other web page
  BadAnswer,   // MPOS's envelope around figures that cannot be read
};

struct QueryResult {
  QueryFailure failure = QueryFailure::None;
  HttpResult fetched;  // how the fetch went; its status also when the answer was at fault

  bool ok() const { return failure == QueryFailure::None; }
};

// Each fetches one action's answer and, when it reads cleanly, commits its own fields of figures
// as the reading half below does; a failure when the fetch or the answer fails (the workers query
// may leave a partial list then).
QueryResult queryWorkers(const HttpFetch& fetch, ResponseBuffer& buffer, const PoolAddress& address,
                         const std::u16string& apiKey, PoolFigures& figures);
QueryResult queryBalance(const HttpFetch& fetch, ResponseBuffer& buffer, const PoolAddress& address,
                         const std::u16string& apiKey, PoolFigures& figures);
QueryResult queryTransactions(const HttpFetch& fetch, ResponseBuffer& buffer, const PoolAddress& address,
                              const std::u16string& apiKey, PoolFigures& figures);

// Why a body that did not read as the action's answer failed, given the status it came with
// (0 when unknown).
QueryFailure judgeUnreadAnswer(std::string_view body, std::string_view action, int status);

// The answer itself, from a body in which PHP printed warnings, notices or deprecation messages
// before the action's envelope `{"<action>":`; the body unchanged when it holds anything else.
std::string_view withoutPhpMessages(std::string_view body, std::string_view action);

// The transactions asked in one page, MPOS's largest, and the most pages one update asks.
inline constexpr int kTransactionsPerPage = 100;
inline constexpr int kMostTransactionPages = 10;

// The answers' reading half: parse one body and commit what it says to figures, as the queries
// do after their fetch. False, with the fields as the queries leave them on a failure,
// when the body is not a well-formed answer.
bool readWorkersAnswer(std::string_view body, PoolFigures& figures);
bool readBalanceAnswer(std::string_view body, PoolFigures& figures);
// One page of transactions, counted as a whole answer.
bool readTransactionsAnswer(std::string_view body, PoolFigures& figures);

}  // namespace orelog
