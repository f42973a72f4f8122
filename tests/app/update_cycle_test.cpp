// The update cycle against the demo pool: step order, messages, what each failure leaves, tick and save.
#include <gtest/gtest.h>

#include <picojson.h>

#include <filesystem>
#include <functional>
#include <utility>

#include "game/levels.h"
#include "app/update_cycle.h"
#include "pool/failure_message.h"
#include "pool/pool_amount.h"
#include "pool/request_target.h"
#include "profile/settings.h"
#include "tests/support/pool_fixture.h"
#include "tests/support/printable.h"

namespace orelog {
namespace {

class UpdateCycle : public test::PoolFixture {
 protected:
  std::filesystem::path settingsFile = folder.path / "config.json";

  void SetUp() override {
    PoolFixture::SetUp();
    loadSettings(record, settingsFile, 0);  // no file yet: a new player's defaults
  }
  bool cycle() { return runUpdateCycle(record, platform, buffer, settingsFile); }
};

const std::string kPinnedFigures = R"({
  "workers": [{"username":"p.a","hashrate":40.5},{"username":"p.b","hashrate":20}],
  "balance": {"confirmed":"1.500000000000000000000000000000","unconfirmed":"0.250000000000000000000000000000"},
  "transactions": [{"id":3,"type":"Credit","amount":"4.000000000000000000000000000000","timestamp":"2024-05-01 10:00:00"},
                   {"id":2,"type":"Debit_AP","amount":"2.000000000000000000000000000000","timestamp":"2024-05-01 10:00:00"},
                   {"id":1,"type":"Debit_MP","amount":"1.000000000000000000000000000000","timestamp":"2024-05-01 09:00:00"}]
})";

TEST_F(UpdateCycle, AllStepsSucceedTickAndSave) {
  pin(kPinnedFigures);
  start();
  ASSERT_TRUE(cycle());
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(record.totalHashrate, 60);
  EXPECT_EQ(record.workers.size(), 2u);
  EXPECT_DOUBLE_EQ(record.balance, 1.75);
  EXPECT_DOUBLE_EQ(record.payout, 3.0);
  EXPECT_EQ(record.hashrateSamples, std::vector<int32_t>{60});
  PlayerRecord reloaded;
  ASSERT_TRUE(loadSettings(reloaded, settingsFile, 0));
  EXPECT_DOUBLE_EQ(reloaded.payout, 3.0);
  EXPECT_EQ(reloaded.lastTimestamp, record.lastTimestamp);
}

TEST_F(UpdateCycle, NoNewTransactionStillTicksAndSaves) {
  pin(kPinnedFigures);
  start();
  ASSERT_TRUE(cycle());
  std::filesystem::remove(settingsFile);
  ASSERT_TRUE(cycle());
  EXPECT_DOUBLE_EQ(record.payout, 3.0);
  EXPECT_EQ(record.hashrateSamples.size(), 2u);
  EXPECT_TRUE(std::filesystem::exists(settingsFile));
}

TEST_F(UpdateCycle, FourthCycleTurnsTheSamplesIntoExperience) {
  pin(kPinnedFigures);
  start();
  PlayerRecord expected = record;
  expected.totalHashrate = 60;
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(record.experience, 10) << "no experience before the fourth sample";
    ASSERT_TRUE(cycle());
    experienceTick(expected);
  }
  EXPECT_GT(record.experience, 10);
  EXPECT_EQ(record.experience, expected.experience);
  EXPECT_EQ(record.level, expected.level);
  EXPECT_EQ(record.points, expected.points);
  EXPECT_EQ(record.experienceToNext, expected.experienceToNext);
  EXPECT_EQ(record.hashrateSamples, expected.hashrateSamples);
}

TEST_F(UpdateCycle, TransactionsAreCountedOnceAcrossARestart) {
  pin(kPinnedFigures);
  start();
  ASSERT_TRUE(cycle());
  PlayerRecord restarted;
  ASSERT_TRUE(loadSettings(restarted, settingsFile, 0));
  ASSERT_TRUE(runUpdateCycle(restarted, platform, buffer, settingsFile));
  EXPECT_DOUBLE_EQ(restarted.payout, 3.0);

  std::string withNewBlock = kPinnedFigures;
  withNewBlock.replace(withNewBlock.find("[{\"id\":3"), 1,
                       R"([{"id":4,"type":"Debit_AP","amount":"0.5","timestamp":"2024-05-01 11:00:00"},)");
  pin(withNewBlock);
  ASSERT_TRUE(runUpdateCycle(restarted, platform, buffer, settingsFile));
  EXPECT_DOUBLE_EQ(restarted.payout, 3.5);
  EXPECT_TRUE(platform.messages.empty());
}

// The demo account as it stands `blocks` blocks later: the same seed and history, the clock moved on.
std::vector<std::string> demoAccountAfter(int blocks) {
  constexpr long long kStart = 1714557600;
  constexpr long long kBlockSeconds = 240;
  return {"--seed", "7", "--epoch", std::to_string(kStart + blocks * kBlockSeconds), "--history",
          std::to_string(4 + blocks)};
}

// What the pool has paid out and holds by its own summary of the listed transactions: credits less
// fees, donations and payout fees.
double earnedBySummary(test::TestPlatform& platform, ResponseBuffer& buffer, int port) {
  const HttpResult fetched = platform.fetch()(
      {u"127.0.0.1", port, false, buildRequestTarget(u"index.php", "getusertransactions", u"demo")}, buffer.span());
  picojson::value answer;
  picojson::parse(answer, std::string(reinterpret_cast<const char*>(buffer.bytes.get()), fetched.length));
  const auto& summary = answer.get("getusertransactions").get("data").get("transactionsummary").get<picojson::object>();
  double earned = 0;
  for (const auto& [type, amount] : summary) {
    const double value = readPoolAmount(amount).value_or(0);
    earned += type == "Credit" ? value : type == "Debit_AP" ? 0 : -value;
  }
  return earned;
}

TEST_F(UpdateCycle, DemoPoolCoinIsPaidOutPlusBalanceThroughPayouts) {
  int payouts = 0;
  double paidBefore = 0;
  for (int blocks = 0; blocks <= 16; ++blocks) {
    start(demoAccountAfter(blocks));
    ASSERT_TRUE(cycle()) << blocks;
    EXPECT_NEAR(record.payout + record.balance, earnedBySummary(platform, buffer, pool->port), 1e-8) << blocks;
    if (record.payout > paidBefore) ++payouts;
    paidBefore = record.payout;
  }
  EXPECT_GE(payouts, 2) << "the run reaches the payout threshold more than once";
}

struct StepFailure {
  std::vector<std::string> flags;
  std::u16string serverUrl;  // empty: the demo pool's URL
  std::u16string_view message;
  std::u16string_view cause;  // the second line; empty for none
  bool workersUpdated, balanceUpdated;
};

std::u16string twoLines(std::u16string_view step, std::u16string_view cause) {
  std::u16string text(step);
  if (!cause.empty()) text.append(u"\n").append(cause);
  return text;
}

// The step and its cause, without the remedy below them.
std::u16string firstTwoLines(const std::u16string& message) {
  const std::size_t first = message.find(u'\n');
  return first == std::u16string::npos ? message : message.substr(0, message.find(u'\n', first + 1));
}

void PrintTo(const StepFailure& value, std::ostream* out) { *out << test::printable(testing::PrintToString(value.flags)) << " " << test::printable(value.serverUrl); }

class UpdateCycleStep : public UpdateCycle, public testing::WithParamInterface<StepFailure> {};

TEST_P(UpdateCycleStep, ShowsItsMessageAndStops) {
  const auto& step = GetParam();
  pin(kPinnedFigures);
  start(step.flags);
  if (!step.serverUrl.empty()) record.serverUrl = step.serverUrl;
  record.workers = {{"old", 1}};
  record.totalHashrate = 1;
  record.balance = 0.0;

  EXPECT_FALSE(cycle());
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(firstTwoLines(platform.messages[0]) == twoLines(step.message, step.cause));
  EXPECT_EQ(platform.owners[0], MessageOwner::None);
  EXPECT_EQ(record.totalHashrate, step.workersUpdated ? 60 : 1);
  EXPECT_EQ(record.balance, step.balanceUpdated ? 1.75 : 0.0);
  EXPECT_EQ(record.payout, 0.0);
  EXPECT_TRUE(record.hashrateSamples.empty()) << "no experience tick";
  EXPECT_FALSE(std::filesystem::exists(settingsFile)) << "no save";
}

INSTANTIATE_TEST_SUITE_P(
    Steps, UpdateCycleStep,
    testing::Values(
        StepFailure{{}, u"not a url", kMessageAddressNotRecognised, {}, false, false},
        StepFailure{{}, u"HTTP://127.0.0.1/", kMessageAddressNotRecognised, {}, false, false},
        StepFailure{{"--fault", "empty@getuserworkers"}, u"", kMessageWorkersFailed, kCauseNotApi, false, false},
        StepFailure{{"--api-key", "other"}, u"", kMessageWorkersFailed, kCauseKeyRefused, false, false},
        StepFailure{{"--fault", "disabled@getuserworkers"}, u"", kMessageWorkersFailed,
                    u"プールがHTTPステータス501を返しました。", false, false},
        StepFailure{{"--fault", "html404@getuserbalance"}, u"", kMessageBalanceFailed,
                    u"プールがHTTPステータス404を返しました。", true, false},
        StepFailure{{"--fault", "stall@getuserbalance"}, u"", kMessageBalanceFailed, kCauseTimedOut, true, false},
        StepFailure{{"--fault", "close@getuserbalance"}, u"", kMessageBalanceFailed, kCauseBroken, true, false},
        StepFailure{{"--fault", "malformed@getusertransactions"}, u"", kMessageTransactionsFailed, kCauseNotApi, true, true},
        StepFailure{{"--fault", "size=262144@getusertransactions"}, u"", kMessageTransactionsFailed, kCauseTooLarge,
                    true, true},
        StepFailure{{"--fault", "bom@getusertransactions"}, u"", kMessageTransactionsFailed, kCauseNotApi, true, true}));

TEST_F(UpdateCycle, RefusedConnectionFailsTheWorkersStep) {
  record.serverUrl = u"http://127.0.0.1:" + [] {
    const std::string port = std::to_string(test::closedLoopbackPort());
    return std::u16string(port.begin(), port.end());
  }() + u"/";
  EXPECT_FALSE(cycle());
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(firstTwoLines(platform.messages[0]) == twoLines(kMessageWorkersFailed, kCauseUnreachable));
}

TEST_F(UpdateCycle, FailedSaveIsSilentAndTheCycleSucceeds) {
  pin(kPinnedFigures);
  start();
  settingsFile = folder.path / "no such folder" / "config.json";
  EXPECT_TRUE(cycle());
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_FALSE(std::filesystem::exists(settingsFile));
}

TEST_F(UpdateCycle, KeyWithQuerySyntaxReachesThePoolWhole) {
  pin(kPinnedFigures);
  start({"--api-key", "k&action=getuserbalance x"});
  record.apiKey = u"k&action=getuserbalance x";
  EXPECT_TRUE(cycle());
  EXPECT_TRUE(platform.messages.empty());
}

// A message box runs a nested loop in which the update timer may start another cycle.
struct NestingPlatform : test::TestPlatform {
  std::function<void()> whileMessageIsOpen;
  void showMessage(std::u16string_view text, MessageOwner owner) override {
    TestPlatform::showMessage(text, owner);
    if (auto nested = std::exchange(whileMessageIsOpen, nullptr)) nested();
  }
};

TEST_F(UpdateCycle, CycleStartedWhileAMessageIsOpenKeepsItsResults) {
  std::string badBalance = kPinnedFigures;
  badBalance.replace(badBalance.find("\"1.5000"), 1, "\"n/a");
  pin(badBalance);
  start();
  NestingPlatform nesting;
  bool nestedResult = false;
  nesting.whileMessageIsOpen = [&] {
    pin(kPinnedFigures);  // the pool has recovered by the time the timer fires
    nestedResult = runUpdateCycle(record, nesting, buffer, settingsFile);
  };
  EXPECT_FALSE(runUpdateCycle(record, nesting, buffer, settingsFile));
  EXPECT_TRUE(nestedResult);
  ASSERT_EQ(nesting.messages.size(), 1u);
  EXPECT_TRUE(firstTwoLines(nesting.messages[0]) == twoLines(kMessageBalanceFailed, kCauseBadAnswer));
  EXPECT_DOUBLE_EQ(record.balance, 1.75);
  EXPECT_DOUBLE_EQ(record.payout, 3.0);
  EXPECT_EQ(record.hashrateSamples.size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(settingsFile));
}

TEST_F(UpdateCycle, RootPathPoolIsAskedAtSlash) {
  pin(kPinnedFigures);
  start();
  record.serverUrl = pool->url(u"");
  EXPECT_TRUE(cycle());
}

}  // namespace
}  // namespace orelog
