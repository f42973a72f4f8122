// The three MPOS API queries: fetch, parse with picojson, walk the members, commit on success.
#include "pool/pool_queries.h"

#include <picojson.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>
#include <initializer_list>
#include <optional>

#include "pool/pool_amount.h"
#include "pool/pool_timestamp.h"
#include "pool/request_target.h"
#include "util/numeric.h"
#include "util/pool_name.h"

namespace orelog {
namespace {

constexpr int kStatusUnauthorized = 401;
constexpr std::string_view kAccessDenied = "Access denied";

using AnswerReader = bool (*)(std::string_view body, PoolFigures& figures);

// The body as one JSON value, or nullopt when it is not JSON.
std::optional<picojson::value> parseAnswer(std::string_view body) {
  picojson::value answer;
  std::string error;
  try {
    // Leading white space is skipped; bytes after the first complete value are not looked at.
    picojson::parse(answer, body.begin(), body.end(), &error);
  } catch (const std::exception&) {
    return std::nullopt;  // picojson throws on a number beyond double's range
  }
  if (!error.empty()) return std::nullopt;
  return answer;
}

// The member at the end of a path of object keys, or nullptr when a step is not an object or
// the key is absent.
const picojson::value* member(const picojson::value& root, std::initializer_list<const char*> keys) {
  const picojson::value* at = &root;
  for (const char* key : keys) {
    if (!at->is<picojson::object>()) return nullptr;
    const auto& object = at->get<picojson::object>();
    auto found = object.find(key);
    if (found == object.end()) return nullptr;
    at = &found->second;
  }
  return at;
}

template <typename Type>
const Type* typed(const picojson::value* value) {
  return value && value->is<Type>() ? &value->get<Type>() : nullptr;
}

// The types MPOS lists for coin sent from the pool to the player's wallet (automatic and manual
// payouts). Every other type is already part of the balance ("Credit", "Credit_PPS", "Bonus") or
// was taken from it ("Fee", "TXFee", "Donation"), so payout plus balance is what the pool has paid
// out and holds.
bool isPayout(const picojson::value& element) {
  const auto* type = typed<std::string>(member(element, {"type"}));
  return type && (*type == "Debit_AP" || *type == "Debit_MP");
}

// One transaction visited by the walk; false when it makes the query fail. Everything newer than
// `since`, the newest time counted before this answer, is new: MPOS writes a payout and its fee in
// the same second.
bool countTransaction(const picojson::value& element, int64_t since, double& total, int64_t& newest) {
  const auto* timestamp = typed<std::string>(member(element, {"timestamp"}));
  if (!element.is<picojson::object>() || !timestamp) return false;
  const auto time = poolTimestampToFileTime(*timestamp);
  if (!time) return false;
  if (*time <= since) return true;  // already counted: its amount is not read at all
  newest = std::max(newest, *time);
  if (!isPayout(element)) return true;
  const auto* amountMember = member(element, {"amount"});
  const auto amount = amountMember ? readPoolAmount(*amountMember) : std::nullopt;
  if (!amount) return false;
  total += *amount;
  return true;
}

// Up to the first zero byte, as the name was kept in a C string, then cleaned: the pool's text is
// hostile until the cleaning rule has passed over it.
std::string workerName(const std::string& username) {
  return cleanPoolName(std::string_view(username.c_str(), std::strlen(username.c_str())));
}

}  // namespace

bool readBalanceAnswer(std::string_view body, PoolFigures& figures) {
  const auto answer = parseAnswer(body);
  if (!answer || !typed<picojson::object>(member(*answer, {"getuserbalance", "data"}))) return false;
  const auto* confirmed = member(*answer, {"getuserbalance", "data", "confirmed"});
  const auto* unconfirmed = member(*answer, {"getuserbalance", "data", "unconfirmed"});
  const auto confirmedAmount = confirmed ? readPoolAmount(*confirmed) : std::nullopt;
  const auto unconfirmedAmount = unconfirmed ? readPoolAmount(*unconfirmed) : std::nullopt;
  if (!confirmedAmount || !unconfirmedAmount) return false;
  const double balance = *confirmedAmount + *unconfirmedAmount;
  if (!std::isfinite(balance)) return false;  // the sum of two huge amounts
  figures.balance = balance;
  return true;
}

bool readTransactionsAnswer(std::string_view body, PoolFigures& figures) {
  const auto answer = parseAnswer(body);
  if (!answer || !typed<picojson::object>(member(*answer, {"getusertransactions", "data"}))) return false;
  const auto* list = typed<picojson::array>(member(*answer, {"getusertransactions", "data", "transactions"}));
  if (!list) return false;
  double total = figures.payout;
  int64_t newest = figures.lastTimestamp;
  // Pools list newest first, so walking from the end meets the transactions oldest first.
  for (auto element = list->rbegin(); element != list->rend(); ++element) {
    if (!countTransaction(*element, figures.lastTimestamp, total, newest)) return false;
  }
  // A payout that is not finite could never be saved again; refuse it and keep the old figures.
  if (!std::isfinite(total)) return false;
  figures.payout = total;
  figures.lastTimestamp = newest;
  return true;
}

bool readWorkersAnswer(std::string_view body, PoolFigures& figures) {
  const auto answer = parseAnswer(body);
  if (!answer) return false;
  const auto* list = typed<picojson::array>(member(*answer, {"getuserworkers", "data"}));
  if (!list) return false;
  figures.workers.clear();
  int32_t sum = 0;
  for (const auto& element : *list) {
    const auto* username = typed<std::string>(member(element, {"username"}));
    const auto* hashrate = typed<double>(member(element, {"hashrate"}));
    if (!element.is<picojson::object>() || !username || !hashrate) return false;
    const int32_t value = truncateToInt32(*hashrate);
    sum = saturatingAdd(sum, value);
    figures.workers.emplace(workerName(*username), value);  // a repeated name keeps its first value
  }
  figures.totalHashrate = sum;
  return true;
}

QueryFailure judgeUnreadAnswer(std::string_view body, std::string_view action, int status) {
  if (status == kStatusUnauthorized || body.starts_with(kAccessDenied)) return QueryFailure::KeyRefused;
  const std::string key(action);
  const auto answer = parseAnswer(body);
  const bool envelope = answer && typed<picojson::object>(member(*answer, {key.c_str()}));
  if (envelope) return QueryFailure::BadAnswer;
  const bool errorStatus = status != 0 && (status < 200 || status > 299);
  return errorStatus ? QueryFailure::HttpStatus : QueryFailure::NotApi;
}

namespace {

// Fetches one action's answer and reads it into figures; the failure's kind when either fails.
QueryResult runQuery(const HttpFetch& fetch, ResponseBuffer& buffer, const PoolAddress& address,
                     std::string_view action, const std::u16string& apiKey, PoolFigures& figures,
                     AnswerReader read) {
  const HttpRequest request{address.host, address.port, address.secure,
                            buildRequestTarget(address.path, action, apiKey)};
  HttpResult fetched = fetch(request, buffer.span());
  if (fetched.ok() && fetched.length >= kResponseBufferSize) fetched = httpFailed(HttpFailure::TooLarge, fetched.status);
  if (!fetched.ok()) return {QueryFailure::Fetch, fetched};
  const std::string_view body(reinterpret_cast<const char*>(buffer.bytes.get()), fetched.length);
  if (read(body, figures)) return {QueryFailure::None, fetched};
  return {judgeUnreadAnswer(body, action, fetched.status), fetched};
}

}  // namespace

QueryResult queryWorkers(const HttpFetch& fetch, ResponseBuffer& buffer, const PoolAddress& address,
                         const std::u16string& apiKey, PoolFigures& figures) {
  return runQuery(fetch, buffer, address, "getuserworkers", apiKey, figures, readWorkersAnswer);
}

QueryResult queryBalance(const HttpFetch& fetch, ResponseBuffer& buffer, const PoolAddress& address,
                         const std::u16string& apiKey, PoolFigures& figures) {
  return runQuery(fetch, buffer, address, "getuserbalance", apiKey, figures, readBalanceAnswer);
}

QueryResult queryTransactions(const HttpFetch& fetch, ResponseBuffer& buffer, const PoolAddress& address,
                              const std::u16string& apiKey, PoolFigures& figures) {
  return runQuery(fetch, buffer, address, "getusertransactions", apiKey, figures, readTransactionsAnswer);
}

}  // namespace orelog
