// Building the demo pool's answers: MPOS's envelope around simulated or pinned figures, then faults.
#include "demo_answers.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iterator>
#include <map>
#include <utility>

#include <picojson.h>

#include "demo_figures.h"
#include "php_json.h"

namespace orelog::demo {
namespace {

constexpr const char* kNonNumeric = "n/a";
// What PHP 7.2 and later print before every answer on some MPOS installations.
constexpr const char* kPhpWarning =
    "<br />\n<b>Warning</b>:  count(): Parameter must be an array or an object that implements Countable in "
    "<b>/var/www/mpos/include/classes/base.class.php</b> on line <b>91</b><br />\n";
// MPOS's flood limit sends the other actions to its error page.
constexpr const char* kRateLimitPage =
    "<!DOCTYPE html>\n<html><head><title>Demo Pool</title></head><body>\n"
    "<article class=\"module width_full\">\n<header><h3>Request rate limit exceeded</h3></header>\n"
    "<div class=\"module_content\">\n<p>You're sending too many requests too fast!</p>\n</div>\n</article>\n"
    "</body></html>\n";
constexpr const char* kHomePage = "<!DOCTYPE html>\n<html><head><title>Demo Pool</title></head>"
                                  "<body><h1>Demo Pool</h1><p>An MPOS pool for Orelog.</p></body></html>\n";

Answer plain(int status, std::string body) {
  Answer answer;
  answer.status = status;
  answer.body = std::move(body);
  return answer;
}

bool has(const Options& options, const std::string& action, FaultKind kind, Fault* found = nullptr) {
  for (const auto& fault : options.faults) {
    if (fault.kind == kind && (fault.action.empty() || fault.action == action)) {
      if (found) *found = fault;
      return true;
    }
  }
  return false;
}

// MPOS keeps coin amounts as DECIMAL(.., 30) and sends them as strings with 30 fraction digits.
std::string decimal30(long long units) {
  char buffer[64];
  const char* sign = units < 0 ? "-" : "";
  const unsigned long long magnitude = units < 0 ? 0ull - static_cast<unsigned long long>(units) : units;
  std::snprintf(buffer, sizeof buffer, "%s%llu.%08llu0000000000000000000000", sign, magnitude / 100000000ull,
                magnitude % 100000000ull);
  return buffer;
}

void appendAmount(std::string& out, const Options& options, const std::string& action, long long units) {
  if (has(options, action, FaultKind::NonNumeric)) appendJsonString(out, kNonNumeric);
  else if (has(options, action, FaultKind::Numbers)) appendJsonNumber(out, static_cast<double>(units) / 1e8);
  else appendJsonString(out, decimal30(units));
}

std::string poolTimestamp(long long time) {
  const std::time_t t = static_cast<std::time_t>(time);
  std::tm parts{};
  gmtime_r(&t, &parts);
  char buffer[32];
  std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &parts);
  return buffer;
}

bool stoppedNow(const Options& options, const std::string& username, long answer) {
  for (const auto& stop : options.stops) {
    if (stop.username == username && answer >= stop.first && (stop.last == 0 || answer <= stop.last)) return true;
  }
  return false;
}

void stopSimulatedWorkers(DemoFigures& figures, const Options& options, long answer) {
  for (auto& worker : figures.workers) {
    if (!stoppedNow(options, worker.username, answer)) continue;
    worker.hashrate = 0.0;
    worker.shares = 0.0;
    worker.difficulty = 0;
  }
}

// The pinned workers with the stopped ones at 0; elements that are no worker object stay as written.
void stopPinnedWorkers(picojson::object& pinned, const Options& options, long answer) {
  auto workers = pinned.find("workers");
  if (workers == pinned.end() || !workers->second.is<picojson::array>()) return;
  for (auto& element : workers->second.get<picojson::array>()) {
    if (!element.is<picojson::object>()) continue;
    auto& worker = element.get<picojson::object>();
    const auto name = worker.find("username");
    if (name != worker.end() && name->second.is<std::string>() &&
        stoppedNow(options, name->second.get<std::string>(), answer)) {
      worker["hashrate"] = picojson::value(0.0);
    }
  }
}

std::string workersData(const Options& options, const DemoFigures& figures) {
  const std::string action = "getuserworkers";
  std::string out = "[";
  for (std::size_t i = 0; i < figures.workers.size(); ++i) {
    const auto& worker = figures.workers[i];
    out += i ? ",{\"id\":" : "{\"id\":";
    appendJsonNumber(out, worker.id);
    out += ",\"username\":";
    appendJsonString(out, worker.username);
    out += ",\"password\":";
    appendJsonString(out, worker.password);
    out += ",\"monitor\":0,\"shares\":";
    appendJsonNumber(out, worker.shares);
    out += ",\"hashrate\":";
    if (has(options, action, FaultKind::NonNumeric)) appendJsonString(out, kNonNumeric);
    else appendJsonNumber(out, worker.hashrate);
    out += ",\"difficulty\":";
    appendJsonNumber(out, worker.difficulty);
    out += '}';
  }
  return out + "]";
}

std::string balanceData(const Options& options, const DemoFigures& figures) {
  const std::string action = "getuserbalance";
  std::string out = "{\"confirmed\":";
  appendAmount(out, options, action, figures.confirmedUnits);
  out += ",\"unconfirmed\":";
  appendAmount(out, options, action, figures.unconfirmedUnits);
  out += ",\"orphaned\":";
  appendAmount(out, options, action, 0);
  return out + "}";
}

void appendTransaction(std::string& out, const Options& options, const std::string& account,
                       const DemoTransaction& row) {
  out += "{\"id\":" + std::to_string(row.id) + ",\"username\":";
  appendJsonString(out, account);
  out += ",\"type\":";
  appendJsonString(out, row.type);
  out += ",\"coin_address\":null,\"amount\":";
  appendAmount(out, options, "getusertransactions", row.amountUnits);
  out += ",\"blockhash\":";
  if (row.blockhash.empty()) out += "null";
  else appendJsonString(out, row.blockhash);
  out += ",\"confirmations\":" + std::to_string(row.confirmations) + ",\"timestamp\":";
  appendJsonString(out, poolTimestamp(row.time));
  out += '}';
}

// The rows MPOS's "LIMIT start, limit" picks: limit only up to 100 (else 100), start from 0 (an
// older MPOS, like the "nostart" fault, ignores it).
struct Paging {
  std::size_t start = 0;
  std::size_t limit = kMaxTransactionRows;
};

Paging pagingOf(const Options& options, const ApiRequest& request) {
  Paging paging;
  long long number = 0;
  const auto read = [&](const std::optional<std::string>& text) {
    if (!text) return false;
    const auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), number);
    return ec == std::errc() && end == text->data() + text->size() && number >= 0;
  };
  if (read(request.limit) && number <= static_cast<long long>(kMaxTransactionRows)) {
    paging.limit = static_cast<std::size_t>(number);
  }
  if (!has(options, "getusertransactions", FaultKind::NoStart) && read(request.start)) {
    paging.start = static_cast<std::size_t>(number);
  }
  return paging;
}

template <typename Rows>
std::pair<std::size_t, std::size_t> pageRange(const Rows& rows, const Paging& paging) {
  const std::size_t first = std::min(paging.start, rows.size());
  return {first, std::min(rows.size(), first + paging.limit)};
}

std::string transactionsData(const Options& options, const DemoFigures& figures, const Paging& paging) {
  std::map<std::string, long long> sums;  // by type, in the summary's order, over every row
  for (const auto& row : figures.transactions) sums[row.type] += row.amountUnits;
  std::string out = "{\"transactions\":[";
  const auto [first, last] = pageRange(figures.transactions, paging);
  for (std::size_t i = first; i < last; ++i) {
    if (i > first) out += ',';
    appendTransaction(out, options, options.account, figures.transactions[i]);
  }
  out += "],\"transactionsummary\":{";
  for (const auto& [type, units] : sums) {
    if (out.back() != '{') out += ',';
    appendJsonString(out, type);
    out += ':';
    appendAmount(out, options, "getusertransactions", units);
  }
  return out + "}}";
}

// The pinned figures, when the data file names them; nullopt when it does not. A pinned list of
// transactions is paged as the simulated one.
std::optional<std::string> pinnedData(const picojson::object& pinned, const std::string& action,
                                      const Paging& paging) {
  static const std::pair<const char*, const char*> kMembers[] = {
      {"getuserworkers", "workers"}, {"getuserbalance", "balance"}, {"getusertransactions", "transactions"}};
  for (const auto& [name, member] : kMembers) {
    if (action != name) continue;
    auto found = pinned.find(member);
    if (found == pinned.end()) return std::nullopt;
    std::string out;
    if (action == "getusertransactions" && found->second.is<picojson::array>()) {
      const auto& rows = found->second.get<picojson::array>();
      const auto [first, last] = pageRange(rows, paging);
      appendJsonValue(out, picojson::value(picojson::array(rows.begin() + static_cast<std::ptrdiff_t>(first),
                                                           rows.begin() + static_cast<std::ptrdiff_t>(last))));
    } else {
      appendJsonValue(out, found->second);
    }
    if (action == "getusertransactions") out = "{\"transactions\":" + out + "}";
    return out;
  }
  return std::nullopt;
}

std::optional<std::string> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::optional<picojson::object> readDataFile(const std::string& path) {
  if (path.empty()) return picojson::object{};
  const auto text = readFile(path);
  if (!text) return std::nullopt;
  picojson::value value;
  std::string error;
  try {
    picojson::parse(value, text->begin(), text->end(), &error);
  } catch (const std::exception&) {
    return std::nullopt;
  }
  if (!error.empty() || !value.is<picojson::object>()) return std::nullopt;
  return value.get<picojson::object>();
}

std::string htmlPage(int status, const char* title) {
  return "<!DOCTYPE html>\n<html><head><title>" + std::to_string(status) + " " + title +
         "</title></head><body><h1>" + title + "</h1><p>The page could not be served.</p></body></html>\n";
}

void applyBodyFaults(Answer& answer, const Options& options, const std::string& action) {
  Fault fault;
  if (has(options, action, FaultKind::Body, &fault)) {
    auto bytes = readFile(fault.file);
    answer.body = bytes ? *bytes : "demo-pool: the body file cannot be read";
  }
  if (has(options, action, FaultKind::Malformed)) answer.body.resize(answer.body.size() / 2);
  if (has(options, action, FaultKind::Bom)) answer.body.insert(0, "\xEF\xBB\xBF");
  if (has(options, action, FaultKind::Size, &fault)) {
    // The answer padded with trailing spaces, which JSON readers never look at.
    const auto size = static_cast<std::size_t>(fault.value);
    answer.body.resize(size, ' ');
  }
  if (has(options, action, FaultKind::Html404)) answer = plain(404, htmlPage(404, "Not Found"));
  if (has(options, action, FaultKind::Html500)) answer = plain(500, htmlPage(500, "Internal Server Error"));
  if (has(options, action, FaultKind::Empty)) answer.body.clear();
  if (has(options, action, FaultKind::PhpWarning)) answer.body.insert(0, kPhpWarning);
  if (has(options, action, FaultKind::Stall, &fault)) answer.stallSeconds = fault.value;
  answer.closeEarly = has(options, action, FaultKind::Close);
  answer.stallEarly = has(options, action, FaultKind::Trickle);
  answer.floodHeaders = has(options, action, FaultKind::Headers);
  if (has(options, action, FaultKind::Redirect, &fault)) answer.redirectTo = fault.location;
  answer.chunkedCut = has(options, action, FaultKind::ChunkedCut);
}

}  // namespace

Answer answerRequest(const Options& options, const ApiRequest& request, long long startTime, long long now,
                     double runtimeMs) {
  if (request.page != "api") return plain(200, kHomePage);
  const std::string action = request.action.value_or("");
  if (action != "getuserworkers" && action != "getuserbalance" && action != "getusertransactions") {
    return plain(400, "400 Bad Request");
  }
  if (request.apiKey.value_or("") != options.apiKey) return plain(401, "Access denied");
  if (has(options, action, FaultKind::Disabled)) return plain(501, "501 Not implemented");
  if (has(options, action, FaultKind::RateLimit)) {
    // MPOS counts the dashboard's actions apart and cuts them off with 401 and nothing more.
    return action == "getusertransactions" ? plain(200, kRateLimitPage) : plain(401, "");
  }

  auto pinned = readDataFile(options.dataFile);
  if (!pinned) return plain(500, "demo-pool: the data file cannot be read");
  stopPinnedWorkers(*pinned, options, request.workersAnswer);
  const Paging paging = pagingOf(options, request);
  auto data = pinnedData(*pinned, action, paging);
  if (!data) {
    DemoFigures figures = simulateFigures(options.seed, options.account, options.historyBlocks, startTime, now,
                                          options.clockBack);
    stopSimulatedWorkers(figures, options, request.workersAnswer);
    data = action == "getuserworkers"   ? workersData(options, figures)
           : action == "getuserbalance" ? balanceData(options, figures)
                                        : transactionsData(options, figures, paging);
  }
  Answer answer;
  answer.body = "{\"" + action + "\":{\"version\":\"1.0.0\",\"runtime\":";
  appendJsonNumber(answer.body, runtimeMs);
  answer.body += ",\"data\":" + *data + "}}";
  applyBodyFaults(answer, options, action);
  return answer;
}

}  // namespace orelog::demo
