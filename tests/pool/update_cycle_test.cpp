// The update cycle against the demo pool: step order, messages, what each failure leaves, tick and save.
#include <gtest/gtest.h>


#include <filesystem>
#include <functional>
#include <utility>

#include "game/levels.h"
#include "app/update_cycle.h"
#include "profile/settings.h"
#include "pool_fixture.h"
#include "printable.h"

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
  "transactions": [{"id":2,"type":"Credit","amount":"2.000000000000000000000000000000","timestamp":"2024-05-01 10:00:00"},
                   {"id":1,"type":"Credit","amount":"1.000000000000000000000000000000","timestamp":"2024-05-01 09:00:00"}]
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
  withNewBlock.replace(withNewBlock.find("[{\"id\":2"), 1,
                       R"([{"id":3,"type":"Credit","amount":"0.5","timestamp":"2024-05-01 11:00:00"},)");
  pin(withNewBlock);
  ASSERT_TRUE(runUpdateCycle(restarted, platform, buffer, settingsFile));
  EXPECT_DOUBLE_EQ(restarted.payout, 3.5);
  EXPECT_TRUE(platform.messages.empty());
}

struct StepFailure {
  std::vector<std::string> flags;
  std::u16string serverUrl;  // empty: the demo pool's URL
  std::u16string_view message;
  bool workersUpdated, balanceUpdated;
};

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
  EXPECT_TRUE(platform.messages[0] == step.message);
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
        StepFailure{{}, u"not a url", kMessageAddressNotRecognised, false, false},
        StepFailure{{}, u"HTTP://127.0.0.1/", kMessageAddressNotRecognised, false, false},
        StepFailure{{"--fault", "empty@getuserworkers"}, u"", kMessageWorkersFailed, false, false},
        StepFailure{{"--api-key", "other"}, u"", kMessageWorkersFailed, false, false},
        StepFailure{{"--fault", "html404@getuserbalance"}, u"", kMessageBalanceFailed, true, false},
        StepFailure{{"--fault", "stall@getuserbalance"}, u"", kMessageBalanceFailed, true, false},
        StepFailure{{"--fault", "malformed@getusertransactions"}, u"", kMessageTransactionsFailed, true, true},
        StepFailure{{"--fault", "bom@getusertransactions"}, u"", kMessageTransactionsFailed, true, true}));

TEST_F(UpdateCycle, RefusedConnectionFailsTheWorkersStep) {
  record.serverUrl = u"http://127.0.0.1:" + [] {
    const std::string port = std::to_string(test::closedLoopbackPort());
    return std::u16string(port.begin(), port.end());
  }() + u"/";
  EXPECT_FALSE(cycle());
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(platform.messages[0] == kMessageWorkersFailed);
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
  EXPECT_TRUE(nesting.messages[0] == kMessageBalanceFailed);
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
