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

TEST(DemoPool, TransactionsNewestFirstOneTimestampPerBlockAtMostAHundred) {
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
                               "headers", "getusertransactions"}) {
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
