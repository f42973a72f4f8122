// The demo pool answers as an MPOS pool does: envelope, number formats, order, status bodies.
#include <gtest/gtest.h>

#include <picojson.h>

#include <map>
#include <regex>

#include "pool/request_target.h"
#include "pool/response_buffer.h"
#include "services/http.h"
#include "tests/support/test_paths.h"
#include "tests/support/test_platform.h"
#include "tests/support/demo_pool_process.h"
#include "tests/support/temp_folder.h"

namespace orelog {
namespace {

using test::DemoPoolProcess;

const std::vector<std::string> kPinnedClock = {"--epoch", "1714557600", "--seed", "7"};

std::string get(const DemoPoolProcess& pool, const std::u16string& target) {
  ResponseBuffer buffer;
  const HttpResult result =
      httpGet({u"127.0.0.1", pool.port, false, target}, buffer.span(), test::kTestTimeouts, FetchCancel{});
  return !result.ok() ? "(no answer)" : std::string(reinterpret_cast<const char*>(buffer.bytes.get()), result.length);
}

std::string ask(const DemoPoolProcess& pool, const char* action, const std::u16string& key = u"demo") {
  return get(pool, buildRequestTarget(u"index.php", action, key));
}

// The "data" member of an answer, after checking MPOS's envelope around it.
picojson::value dataOf(const std::string& body, const std::string& action) {
  picojson::value root;
  const std::string error = picojson::parse(root, body);
  EXPECT_EQ(error, "") << body.substr(0, 200);
  const auto& envelope = root.get(action);
  EXPECT_EQ(envelope.get("version").to_str(), "1.0.0");
  EXPECT_TRUE(envelope.get("runtime").is<double>());
  return envelope.get("data");
}

const std::regex kDecimal30(R"(-?\d+\.\d{30})");
const std::regex kTimestamp(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)");

TEST(DemoPool, WorkersCarryMposMembersAsNumbers) {
  DemoPoolProcess pool(kPinnedClock);
  const auto workers = dataOf(ask(pool, "getuserworkers"), "getuserworkers");
  ASSERT_TRUE(workers.is<picojson::array>());
  ASSERT_FALSE(workers.get<picojson::array>().empty());
  for (const auto& worker : workers.get<picojson::array>()) {
    EXPECT_TRUE(worker.get("username").to_str().starts_with("demo."));
    for (const char* member : {"id", "monitor", "shares", "hashrate", "difficulty"}) {
      EXPECT_TRUE(worker.get(member).is<double>()) << member;
    }
    EXPECT_TRUE(worker.get("password").is<std::string>());
  }
}

// The hashrate of every worker by name, from one workers answer.
std::map<std::string, double> hashrates(const DemoPoolProcess& pool) {
  std::map<std::string, double> rates;
  const auto workers = dataOf(ask(pool, "getuserworkers"), "getuserworkers");
  if (!workers.is<picojson::array>()) return rates;
  for (const auto& worker : workers.get<picojson::array>()) {
    rates[worker.get("username").to_str()] = worker.get("hashrate").get<double>();
  }
  return rates;
}

// A stopped worker reports 0 in the workers answers of its range, simulated or pinned; the others
// and the answers outside the range are untouched.
TEST(DemoPool, AStoppedWorkerReportsZeroInItsAnswersOnly) {
  // The pool's clock all but stands, so the simulated hashrates stay as they start.
  std::vector<std::string> flags = kPinnedClock;
  flags.insert(flags.end(), {"--speed", "0.0001"});
  const DemoPoolProcess plain(flags);
  const auto running = hashrates(plain);
  ASSERT_GE(running.size(), 2u);
  const std::string stopped = running.begin()->first;
  flags.insert(flags.end(), {"--stop", stopped + "@2-3"});
  const DemoPoolProcess simulated(flags);
  const test::TempFolder folder("demo-pool-stop");
  const auto data = folder.write("pool.json", R"({"workers":[{"username":"p.a","hashrate":4.5},{"username":"p.b","hashrate":2}]})");
  const DemoPoolProcess pinned({"--data", data.string(), "--stop", "p.a@2"});
  for (int answer = 1; answer <= 4; ++answer) {
    const auto rates = hashrates(simulated);
    const bool inRange = answer == 2 || answer == 3;
    EXPECT_EQ(rates.at(stopped), inRange ? 0.0 : running.at(stopped)) << "answer " << answer;
    EXPECT_EQ(rates.rbegin()->second, running.rbegin()->second) << "answer " << answer;
    EXPECT_EQ(hashrates(pinned), (std::map<std::string, double>{{"p.a", answer >= 2 ? 0.0 : 4.5}, {"p.b", 2}}))
        << "answer " << answer;
  }
}

TEST(DemoPool, BalancesAreDecimalStringsWithThirtyFractionDigits) {
  DemoPoolProcess pool(kPinnedClock);
  const auto balance = dataOf(ask(pool, "getuserbalance"), "getuserbalance");
  for (const char* member : {"confirmed", "unconfirmed"}) {
    ASSERT_TRUE(balance.get(member).is<std::string>()) << member;
    EXPECT_TRUE(std::regex_match(balance.get(member).get<std::string>(), kDecimal30)) << member;
  }
  DemoPoolProcess oldPool({"--fault", "numbers"});
  EXPECT_TRUE(dataOf(ask(oldPool, "getuserbalance"), "getuserbalance").get("confirmed").is<double>());
}

TEST(DemoPool, TransactionsNewestFirstOneTimestampPerBlockAHundredAtATime) {
  auto flags = kPinnedClock;
  flags.insert(flags.end(), {"--history", "50"});
  DemoPoolProcess pool(flags);
  const auto data = dataOf(ask(pool, "getusertransactions"), "getusertransactions");
  const auto& rows = data.get("transactions").get<picojson::array>();
  ASSERT_EQ(rows.size(), 100u);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_TRUE(std::regex_match(rows[i].get("amount").to_str(), kDecimal30));
    EXPECT_TRUE(std::regex_match(rows[i].get("timestamp").to_str(), kTimestamp));
    if (i == 0) continue;
    EXPECT_LT(rows[i].get("id").get<double>(), rows[i - 1].get("id").get<double>());
    const bool sameBlock = rows[i].get("blockhash").to_str() == rows[i - 1].get("blockhash").to_str();
    EXPECT_EQ(sameBlock, rows[i].get("timestamp").to_str() == rows[i - 1].get("timestamp").to_str());
  }
}

std::vector<double> idsOf(const std::string& body) {
  std::vector<double> ids;
  // The answer is kept whole while its rows are walked: a range over a member of a temporary
  // would walk freed memory.
  const picojson::value data = dataOf(body, "getusertransactions");
  if (!data.is<picojson::object>() || !data.get("transactions").is<picojson::array>()) return ids;
  for (const auto& row : data.get("transactions").get<picojson::array>()) {
    ids.push_back(row.get("id").get<double>());
  }
  return ids;
}

std::string transactionsPage(const DemoPoolProcess& pool, const std::u16string& paging) {
  return get(pool, buildRequestTarget(u"index.php", "getusertransactions", u"demo") + paging);
}

// MPOS's "ORDER BY id DESC LIMIT start, limit": limit at most 100; a pool before 2018 ignores start.
TEST(DemoPool, TransactionsArePagedByStartAndLimit) {
  auto flags = kPinnedClock;
  flags.insert(flags.end(), {"--history", "80"});
  DemoPoolProcess pool(flags);
  const auto first = idsOf(transactionsPage(pool, u"&limit=100"));
  const auto second = idsOf(transactionsPage(pool, u"&limit=100&start=100"));
  ASSERT_EQ(first.size(), 100u);
  ASSERT_FALSE(second.empty());
  EXPECT_EQ(second.front(), first.back() - 1) << "the next page goes on where the first ended";
  EXPECT_EQ(idsOf(transactionsPage(pool, u"&limit=5&start=2")),
            std::vector<double>(first.begin() + 2, first.begin() + 7));
  EXPECT_EQ(idsOf(transactionsPage(pool, u"&limit=500")), first) << "a limit above 100 asks for 100";
  EXPECT_TRUE(idsOf(transactionsPage(pool, u"&start=100000")).empty());

  flags.insert(flags.end(), {"--fault", "nostart"});
  DemoPoolProcess old(flags);
  EXPECT_EQ(idsOf(transactionsPage(old, u"&limit=100&start=100")), first);
}

TEST(DemoPool, PinnedTransactionsArePagedToo) {
  test::TempFolder folder;
  std::string rows;
  for (int id = 150; id >= 1; --id) {
    rows += (rows.empty() ? "" : ",") + std::string("{\"id\":") + std::to_string(id) +
            ",\"type\":\"Credit_PPS\",\"amount\":\"0.1\",\"timestamp\":\"2024-05-01 10:00:00\"}";
  }
  const auto data = folder.write("data.json", "{\"transactions\":[" + rows + "]}");
  DemoPoolProcess pool({"--data", data.string()});
  EXPECT_EQ(idsOf(transactionsPage(pool, u"")).size(), 100u);
  const auto second = idsOf(transactionsPage(pool, u"&limit=100&start=100"));
  ASSERT_EQ(second.size(), 50u);
  EXPECT_EQ(second.front(), 50.0);
}

// The pool's wall clock set back at start: rows written since carry earlier times, ids still grow.
TEST(DemoPool, AClockSetBackGivesNewerRowsEarlierTimes) {
  auto flags = kPinnedClock;
  flags.insert(flags.end(), {"--history", "3", "--speed", "100000", "--clock-back", "3600"});
  DemoPoolProcess pool(flags);
  const auto rows = dataOf(ask(pool, "getusertransactions"), "getusertransactions").get("transactions");
  const auto& list = rows.get<picojson::array>();
  bool earlierButNewer = false;
  for (std::size_t i = 1; i < list.size(); ++i) {
    EXPECT_LT(list[i].get("id").get<double>(), list[i - 1].get("id").get<double>());
    earlierButNewer = earlierButNewer || list[i - 1].get("timestamp").to_str() < list[i].get("timestamp").to_str();
  }
  EXPECT_TRUE(earlierButNewer) << "a row with a higher id and an earlier time";
}

// MPOS's flood limit (20 API calls a minute by default): the dashboard's actions get 401 without a
// body, the others its rate-limit page with HTTP 200.
TEST(DemoPool, ThrottlesAsMposDoes) {
  DemoPoolProcess pool({"--fault", "ratelimit"});
  for (const char* action : {"getuserworkers", "getuserbalance"}) {
    ResponseBuffer buffer;
    const HttpResult result = httpGet({u"127.0.0.1", pool.port, false, buildRequestTarget(u"index.php", action, u"demo")},
                                      buffer.span(), test::kTestTimeouts, FetchCancel{});
    ASSERT_TRUE(result.ok()) << action;
    EXPECT_EQ(result.status, 401) << action;
    EXPECT_EQ(result.length, 0u) << action;
  }
  const std::string page = ask(pool, "getusertransactions");
  EXPECT_NE(page.find("<h3>Request rate limit exceeded</h3>"), std::string::npos) << page;
  EXPECT_EQ(ask(pool, "getuserbalance", u"wrong"), "Access denied") << "a wrong key is still told as one";
}

TEST(DemoPool, PrintsAPhpWarningBeforeTheJson) {
  DemoPoolProcess pool({"--fault", "phpwarning@getuserworkers"});
  const std::string body = ask(pool, "getuserworkers");
  EXPECT_TRUE(body.starts_with("<br />\n<b>Warning</b>:  count(): ")) << body;
  EXPECT_NE(body.find("on line <b>91</b><br />\n{\"getuserworkers\":{"), std::string::npos) << body;
  EXPECT_TRUE(ask(pool, "getuserbalance").starts_with("{\"getuserbalance\":"));
}

TEST(DemoPool, SameSeedAndClockGiveTheSameFigures) {
  DemoPoolProcess first(kPinnedClock), second(kPinnedClock);
  for (const char* action : {"getuserworkers", "getuserbalance", "getusertransactions"}) {
    // Only the runtime may differ.
    const std::regex runtime("\"runtime\":[0-9.e+-]+");
    EXPECT_EQ(std::regex_replace(ask(first, action), runtime, ""), std::regex_replace(ask(second, action), runtime, ""));
  }
}

TEST(DemoPool, EscapesSlashesAsPhpDoes) {
  test::TempFolder folder;
  const auto data = folder.write("data.json", R"({"workers":[{"username":"a/b","hashrate":69.91}]})");
  DemoPoolProcess pool({"--data", data.string()});
  const std::string body = ask(pool, "getuserworkers");
  EXPECT_NE(body.find(R"("username":"a\/b")"), std::string::npos) << body;
  EXPECT_NE(body.find(R"("hashrate":69.91)"), std::string::npos) << body;
}

TEST(DemoPool, RefusesAsMposDoes) {
  DemoPoolProcess pool({"--api-key", "k1"});
  EXPECT_EQ(ask(pool, "getuserbalance", u"wrong"), "Access denied");
  EXPECT_EQ(ask(pool, "getuserbalance", u""), "Access denied");
  EXPECT_EQ(get(pool, u"/index.php?page=api&action=getuserbalance"), "Access denied");
  EXPECT_EQ(ask(pool, "getuserpayouts", u"k1"), "400 Bad Request");
  EXPECT_NE(ask(pool, "getuserbalance", u"k1").find("\"getuserbalance\""), std::string::npos);
  EXPECT_NE(get(pool, u"/").find("<html>"), std::string::npos);
  DemoPoolProcess disabled({"--fault", "disabled"});
  EXPECT_EQ(ask(disabled, "getuserbalance"), "501 Not implemented");
}

TEST(DemoPool, RefusesFlagsItDoesNotKnow) {
  for (const std::vector<std::string>& flags :
       {std::vector<std::string>{"--fault", "sometimes"}, {"--fault", "html404@getuserpayouts"}, {"--port"},
        {"--speed", "0"}, {"--unknown", "1"}, {"--stop", "demo.tama"}, {"--stop", "demo.tama@0"},
        {"--stop", "demo.tama@3-2"}, {"--stop", "@2"}, {"--stop", "demo.tama@2-"}}) {
    DemoPoolProcess pool(flags);
    EXPECT_EQ(pool.port, 0) << flags[0];
  }
}

TEST(DemoPool, HelpListsTheFlagsAndFaultKindsOnStandardOutput) {
  const test::TempFolder folder("demo-pool-help");
  for (const char* flag : {"--help", "-h"}) {
    const auto result = test::runProcess(folder.path.string(), {test::binaryPath("demo-pool"), flag});
    EXPECT_EQ(result.exitCode, 0) << flag;
    EXPECT_EQ(result.err, "") << flag;
    for (const char* listed : {"--port", "--data", "--fault", "html404", "stall", "ratelimit", "body=FILE",
                               "headers", "getusertransactions", "phpwarning", "nostart", "--clock-back"}) {
      EXPECT_NE(result.out.find(listed), std::string::npos) << flag << " lists " << listed;
    }
  }
  const auto afterFlags =
      test::runProcess(folder.path.string(), {test::binaryPath("demo-pool"), "--seed", "3", "--help"});
  EXPECT_EQ(afterFlags.exitCode, 0);
  EXPECT_NE(afterFlags.out.find("usage: demo-pool"), std::string::npos);
  const auto badFlag = test::runProcess(folder.path.string(), {test::binaryPath("demo-pool"), "--helps"});
  EXPECT_EQ(badFlag.exitCode, 2);
  EXPECT_EQ(badFlag.out, "");
  EXPECT_NE(badFlag.err.find("bad flag near '--helps'"), std::string::npos) << badFlag.err;
}

}  // namespace
}  // namespace orelog
