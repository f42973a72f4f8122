// The three MPOS API queries: fetch, parse with picojson, walk the members, commit on success.
#include "pool/pool_queries.h"

#include <picojson.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <exception>
#include <initializer_list>
#include <list>
#include <optional>
#include <set>
#include <system_error>
#include <vector>

#include "pool/pool_amount.h"
#include "pool/pool_timestamp.h"
#include "pool/request_target.h"
#include "util/numeric.h"
#include "util/pool_name.h"

namespace orelog {
namespace {

constexpr int kStatusUnauthorized = 401;
constexpr int kStatusTooManyRequests = 429;
constexpr std::string_view kAccessDenied = "Access denied";
// MPOS's flood limit answers its API actions for the dashboard with 401 and no body, the others
// with its error page (HTTP 200), or with a bare sentence when that page is switched off.
constexpr std::string_view kRateLimitPageTitle = "Request rate limit exceeded";
constexpr std::string_view kRateLimitSentence = "sending too many requests too fast";
constexpr std::string_view kWhiteSpace = " \t\r\n";
constexpr std::string_view kTransactionsAction = "getusertransactions";

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

// One row of a transactions page, as far as counting it needs.
struct TransactionRow {
  const picojson::value* element = nullptr;
  std::optional<int64_t> id;  // MPOS's row id, which only grows; absent on pools that send none
  int64_t time = 0;           // file time of the pool's wall clock, which may go back
};

// MPOS sends the id as a number, or as a string of digits where its database driver gives strings.
// Anything else counts as no id.
std::optional<int64_t> transactionId(const picojson::value& element) {
  const auto* id = member(element, {"id"});
  if (id && id->is<double>()) {
    const double number = id->get<double>();
    const bool whole = number >= 1 && number < 9.2e18 && std::floor(number) == number;
    return whole ? std::optional(static_cast<int64_t>(number)) : std::nullopt;
  }
  const auto* text = typed<std::string>(id);
  if (!text || text->empty() || text->find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  int64_t value = 0;
  const auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), value);
  return ec == std::errc() && value > 0 ? std::optional(value) : std::nullopt;
}

// The rows of one page, newest first as the pool lists them; nullopt when a row is not an object
// or its timestamp is not a time.
std::optional<std::vector<TransactionRow>> transactionRows(const picojson::array& list) {
  std::vector<TransactionRow> rows;
  rows.reserve(list.size());
  for (const auto& element : list) {
    const auto* timestamp = typed<std::string>(member(element, {"timestamp"}));
    if (!element.is<picojson::object>() || !timestamp) return std::nullopt;
    const auto time = poolTimestampToFileTime(*timestamp);
    if (!time) return std::nullopt;
    rows.push_back({&element, transactionId(element), *time});
  }
  return rows;
}

// A row is new when its id is above the newest id counted. Until the first answer with ids, and
// for rows without one, the time mark decides; every row newer than it is new (MPOS writes a
// payout and its fee in the same second).
bool isNewTransaction(const TransactionRow& row, const PoolFigures& figures) {
  if (row.id && figures.lastTransactionId > 0) return *row.id > figures.lastTransactionId;
  return row.time > figures.lastTimestamp;
}

// Adds the new payouts among rows to the figures, each id once (a row moves to the next page when
// the pool writes new ones between two requests). False, with the figures unchanged, when a new
// payout's amount cannot be read or the sum is not finite; an old row's amount is not read at all.
bool countTransactions(const std::vector<TransactionRow>& rows, PoolFigures& figures) {
  double total = figures.payout;
  int64_t newestTime = figures.lastTimestamp;
  int64_t newestId = figures.lastTransactionId;
  std::set<int64_t> seen;
  for (const TransactionRow& row : rows) {
    if (row.id && !seen.insert(*row.id).second) continue;
    if (row.id) newestId = std::max(newestId, *row.id);
    if (!isNewTransaction(row, figures)) continue;
    newestTime = std::max(newestTime, row.time);
    if (!isPayout(*row.element)) continue;
    const auto* amountMember = member(*row.element, {"amount"});
    const auto amount = amountMember ? readPoolAmount(*amountMember) : std::nullopt;
    if (!amount) return false;
    total += *amount;
  }
  // A payout that is not finite could never be saved again; refuse it and keep the old figures.
  if (!std::isfinite(total)) return false;
  figures.payout = total;
  figures.lastTimestamp = newestTime;
  figures.lastTransactionId = newestId;
  return true;
}

// The transactions list of an answer, or nullptr when the answer does not hold one.
const picojson::array* transactionList(const picojson::value& answer) {
  if (!typed<picojson::object>(member(answer, {"getusertransactions", "data"}))) return nullptr;
  return typed<picojson::array>(member(answer, {"getusertransactions", "data", "transactions"}));
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
  const picojson::array* list = answer ? transactionList(*answer) : nullptr;
  const auto rows = list ? transactionRows(*list) : std::nullopt;
  return rows && countTransactions(*rows, figures);
}

bool readWorkersAnswer(std::string_view body, PoolFigures& figures) {
  const auto answer = parseAnswer(body);
  if (!answer) return false;
  const auto* list = typed<picojson::array>(member(*answer, {"getuserworkers", "data"}));
  if (!list) return false;
  figures.workers.clear();
  int64_t sum = 0;
  for (const auto& element : *list) {
    const auto* username = typed<std::string>(member(element, {"username"}));
    const auto* hashrate = typed<double>(member(element, {"hashrate"}));
    if (!element.is<picojson::object>() || !username || !hashrate) return false;
    sum = saturatingAdd64(sum, truncateToInt64(*hashrate));
    figures.workers.emplace(workerName(*username), *hashrate);  // a repeated name keeps its first value
  }
  figures.totalHashrate = sum;
  return true;
}

namespace {

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(kWhiteSpace);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kWhiteSpace) - first + 1);
}

bool isThrottled(std::string_view body, int status) {
  if (status == kStatusTooManyRequests || (status == kStatusUnauthorized && trimmed(body).empty())) return true;
  return body.find(kRateLimitPageTitle) != std::string_view::npos ||
         body.find(kRateLimitSentence) != std::string_view::npos;
}

// Drops the HTML line breaks PHP puts around a message when it prints errors as HTML.
std::string_view withoutLineBreakTags(std::string_view line) {
  constexpr std::string_view kBreak = "<br />";
  for (line = trimmed(line); line.starts_with(kBreak); line = trimmed(line)) line.remove_prefix(kBreak.size());
  for (; line.ends_with(kBreak); line = trimmed(line)) line.remove_suffix(kBreak.size());
  return line;
}

// "Warning: ...", "<b>Notice</b>:  ..." or "PHP Deprecated: ...", as PHP prints them in text or HTML.
bool isPhpMessage(std::string_view line) {
  if (line.starts_with("PHP ")) line.remove_prefix(4);
  for (std::string_view level : {"Warning", "Notice", "Deprecated"}) {
    const std::string html = "<b>" + std::string(level) + "</b>:";
    if (line.starts_with(html) || (line.starts_with(level) && line.substr(level.size()).starts_with(":"))) return true;
  }
  return false;
}

// Whether text holds one PHP message or more and nothing else.
bool onlyPhpMessages(std::string_view text) {
  bool any = false;
  while (!text.empty()) {
    const auto end = text.find('\n');
    const std::string_view line = withoutLineBreakTags(text.substr(0, end));
    if (!line.empty() && !isPhpMessage(line)) return false;
    any = any || !line.empty();
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
  return any;
}

}  // namespace

std::string_view withoutPhpMessages(std::string_view body, std::string_view action) {
  const std::string envelope = "{\"" + std::string(action) + "\":";
  const auto at = body.find(envelope);
  if (at == std::string_view::npos || at == 0 || !onlyPhpMessages(body.substr(0, at))) return body;
  return body.substr(at);
}

QueryFailure judgeUnreadAnswer(std::string_view body, std::string_view action, int status) {
  if (isThrottled(body, status)) return QueryFailure::Throttled;
  if (status == kStatusUnauthorized || body.starts_with(kAccessDenied)) return QueryFailure::KeyRefused;
  const std::string key(action);
  const auto answer = parseAnswer(body);
  const bool envelope = answer && typed<picojson::object>(member(*answer, {key.c_str()}));
  if (envelope) return QueryFailure::BadAnswer;
  const bool errorStatus = status != 0 && (status < 200 || status > 299);
  return errorStatus ? QueryFailure::HttpStatus : QueryFailure::NotApi;
}

namespace {

// One GET of an action's answer; the body as the buffer holds it, after any PHP messages.
struct FetchedAnswer {
  HttpResult fetched;
  std::string_view body;
};

FetchedAnswer fetchAnswer(const HttpFetch& fetch, ResponseBuffer& buffer, const PoolAddress& address,
                          std::string_view action, const std::u16string& apiKey, std::u16string_view extra = {}) {
  HttpRequest request{address.host, address.port, address.secure, buildRequestTarget(address.path, action, apiKey)};
  request.target += extra;
  HttpResult fetched = fetch(request, buffer.span());
  if (fetched.ok() && fetched.length >= kResponseBufferSize) fetched = httpFailed(HttpFailure::TooLarge, fetched.status);
  if (!fetched.ok()) return {fetched, {}};
  const std::string_view body(reinterpret_cast<const char*>(buffer.bytes.get()), fetched.length);
  return {fetched, withoutPhpMessages(body, action)};
}

// Fetches one action's answer and reads it into figures; the failure's kind when either fails.
QueryResult runQuery(const HttpFetch& fetch, ResponseBuffer& buffer, const PoolAddress& address,
                     std::string_view action, const std::u16string& apiKey, PoolFigures& figures,
                     AnswerReader read) {
  const FetchedAnswer answer = fetchAnswer(fetch, buffer, address, action, apiKey);
  if (!answer.fetched.ok()) return {QueryFailure::Fetch, answer.fetched};
  if (read(answer.body, figures)) return {QueryFailure::None, answer.fetched};
  return {judgeUnreadAnswer(answer.body, action, answer.fetched.status), answer.fetched};
}

// "&limit=100", then "&start=100" and on for the later pages (MPOS since 2018; older ones ignore it).
std::u16string pageMembers(int page) {
  std::string members = "&limit=" + std::to_string(kTransactionsPerPage);
  if (page > 0) members += "&start=" + std::to_string(page * kTransactionsPerPage);
  return std::u16string(members.begin(), members.end());
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

// Asks page after page while every row of a full page is new, so a payout more than one page back
// is still counted; stops at a row already counted, at a page the pool repeats (a pool that ignores
// "start"), at a short page or after kMostTransactionPages. Counts only once every page has read.
QueryResult queryTransactions(const HttpFetch& fetch, ResponseBuffer& buffer, const PoolAddress& address,
                              const std::u16string& apiKey, PoolFigures& figures) {
  std::list<picojson::value> answers;  // the rows point into them
  std::vector<TransactionRow> rows;
  HttpResult last;
  for (int page = 0; page < kMostTransactionPages; ++page) {
    const FetchedAnswer fetched = fetchAnswer(fetch, buffer, address, kTransactionsAction, apiKey, pageMembers(page));
    last = fetched.fetched;
    if (!last.ok()) return {QueryFailure::Fetch, last};
    auto answer = parseAnswer(fetched.body);
    const picojson::array* list = answer ? transactionList(*answer) : nullptr;
    if (list && page > 0 && *list == *transactionList(answers.back())) break;
    if (list) list = transactionList(answers.emplace_back(std::move(*answer)));
    const auto pageRows = list ? transactionRows(*list) : std::nullopt;
    if (!pageRows) return {judgeUnreadAnswer(fetched.body, kTransactionsAction, last.status), last};
    rows.insert(rows.end(), pageRows->begin(), pageRows->end());
    const bool allNew = std::all_of(pageRows->begin(), pageRows->end(),
                                    [&](const TransactionRow& row) { return isNewTransaction(row, figures); });
    if (!allNew || pageRows->size() < static_cast<std::size_t>(kTransactionsPerPage)) break;
  }
  if (!countTransactions(rows, figures)) return {QueryFailure::BadAnswer, last};
  return {QueryFailure::None, last};
}

}  // namespace orelog
