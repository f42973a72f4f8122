// The three queries against the demo pool: type rules, the transaction walk, what failures leave.
#include <gtest/gtest.h>

#include <climits>

#include "pool/pool_queries.h"
#include "pool/pool_timestamp.h"
#include "tests/support/pool_fixture.h"
#include "tests/support/printable.h"

namespace orelog {
namespace {

using test::PoolFixture;

std::string row(int id, const std::string& amount, const std::string& timestamp,
                const std::string& type = "Debit_AP") {
  return "{\"id\":" + std::to_string(id) + ",\"type\":\"" + type + "\",\"amount\":" + amount +
         ",\"timestamp\":\"" + timestamp + "\"}";
}

std::string transactions(const std::vector<std::string>& rows) {
  std::string list;
  for (const auto& r : rows) list += (list.empty() ? "" : ",") + r;
  return "[" + list + "]";
}

int64_t fileTime(const char* timestamp) { return *poolTimestampToFileTime(timestamp); }

// ---- balance ----

struct BalanceCase {
  std::string data;                // the "data" member of the answer
  std::optional<double> expected;  // nullopt: the query fails
};

void PrintTo(const BalanceCase& value, std::ostream* out) { *out << test::printable(value.data); }

class BalanceQuery : public PoolFixture, public testing::WithParamInterface<BalanceCase> {};

TEST_P(BalanceQuery, ReadsConfirmedPlusUnconfirmed) {
  pin("{\"balance\":" + GetParam().data + "}");
  start();
  figures.balance = 42.0;
  const bool ok = queryBalance(platform.fetch(), buffer, address(), record.apiKey, figures).ok();
  ASSERT_EQ(ok, GetParam().expected.has_value());
  EXPECT_DOUBLE_EQ(figures.balance, GetParam().expected.value_or(42.0));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, BalanceQuery,
    testing::Values(
        // What every current MPOS pool sends: decimal strings with 30 fraction digits.
        BalanceCase{R"({"confirmed":"5.984567890000000000000000000000","unconfirmed":"1.000000000000000000000000000000"})",
                    6.98456789},
        BalanceCase{R"({"confirmed":1,"unconfirmed":2.5})", 3.5},  // very old pools send numbers
        BalanceCase{R"({"confirmed":"-0.5","unconfirmed":"0.25","orphaned":"x"})", -0.25},
        BalanceCase{R"({"confirmed":"n/a","unconfirmed":"0"})", std::nullopt},
        BalanceCase{R"({"confirmed":"1 coin","unconfirmed":"0"})", std::nullopt},
        BalanceCase{R"({"confirmed":"1"})", std::nullopt}, BalanceCase{R"({"confirmed":true,"unconfirmed":1})", std::nullopt},
        BalanceCase{R"({"confirmed":null,"unconfirmed":1})", std::nullopt}, BalanceCase{"[1,2]", std::nullopt},
        BalanceCase{"\"1\"", std::nullopt},
        // The sum of two huge amounts is not finite: refused, the old balance kept.
        BalanceCase{R"({"confirmed":1e308,"unconfirmed":1e308})", std::nullopt}));

struct BodyCase {
  std::vector<std::string> flags;
  bool succeeds;
};

void PrintTo(const BodyCase& value, std::ostream* out) { *out << test::printable(testing::PrintToString(value.flags)); }

class BalanceBody : public PoolFixture, public testing::WithParamInterface<BodyCase> {};

TEST_P(BalanceBody, FailsUnlessItIsTheJsonAnswer) {
  start(GetParam().flags);
  figures.balance = 42.0;
  EXPECT_EQ(queryBalance(platform.fetch(), buffer, address(), record.apiKey, figures).ok(), GetParam().succeeds);
  if (!GetParam().succeeds) {
    EXPECT_EQ(figures.balance, 42.0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, BalanceBody,
    testing::Values(BodyCase{{}, true}, BodyCase{{"--fault", "numbers"}, true},
                    BodyCase{{"--fault", "size=262143"}, true},  // padded with spaces after the JSON
                    BodyCase{{"--fault", "size=262144"}, false}, BodyCase{{"--fault", "html404"}, false},
                    BodyCase{{"--fault", "html500"}, false}, BodyCase{{"--fault", "empty"}, false},
                    BodyCase{{"--fault", "bom"}, false}, BodyCase{{"--fault", "malformed"}, false},
                    BodyCase{{"--fault", "nonnumeric"}, false}, BodyCase{{"--fault", "disabled"}, false},
                    BodyCase{{"--fault", "ratelimit"}, false}, BodyCase{{"--fault", "close"}, false},
                    BodyCase{{"--fault", "stall"}, false}, BodyCase{{"--api-key", "other"}, false}));

TEST_F(PoolFixture, BalanceBodiesPicojsonCannotHoldFailWithoutCrashing) {
  const std::string answers[] = {
      R"({"getuserbalance":{"data":{"confirmed":1e999,"unconfirmed":0}}})",  // beyond double
      std::string(200, '[') + std::string(200, ']'),                         // nested too deep
      R"([{"getuserbalance":{"data":{"confirmed":1,"unconfirmed":0}}}])",   // root not an object
  };
  for (const auto& answer : answers) {
    start({"--fault", bodyFault(answer, "getuserbalance")});
    figures.balance = 42.0;
    EXPECT_FALSE(queryBalance(platform.fetch(), buffer, address(), record.apiKey, figures).ok()) << answer;
    EXPECT_EQ(figures.balance, 42.0);
  }
}

TEST_F(PoolFixture, BytesAfterTheFirstValueAreNotLookedAt) {
  start({"--fault", bodyFault(R"(  {"getuserbalance":{"data":{"confirmed":1,"unconfirmed":2}}} <html>)", "getuserbalance")});
  ASSERT_TRUE(queryBalance(platform.fetch(), buffer, address(), record.apiKey, figures).ok());
  EXPECT_EQ(figures.balance, 3.0);
}

// ---- transactions ----

class TransactionQuery : public PoolFixture {
 protected:
  bool query() { return queryTransactions(platform.fetch(), buffer, address(), record.apiKey, figures).ok(); }
};

TEST_F(TransactionQuery, NewPlayerCountsEveryTransactionOnceAcrossCycles) {
  pin("{\"transactions\":" + transactions({row(3, "\"0.500000000000000000000000000000\"", "2024-05-01 10:00:00"),
                                           row(2, "0.25", "2024-05-01 09:00:00"),
                                           row(1, "1", "2024-05-01 08:00:00")}) + "}");
  start();
  ASSERT_TRUE(query());
  EXPECT_DOUBLE_EQ(figures.payout, 1.75);
  EXPECT_EQ(figures.lastTimestamp, fileTime("2024-05-01 10:00:00"));
  ASSERT_TRUE(query());
  EXPECT_DOUBLE_EQ(figures.payout, 1.75);

  pin("{\"transactions\":" + transactions({row(4, "\"2.0\"", "2024-05-01 11:00:00"),
                                           row(3, "\"0.500000000000000000000000000000\"", "2024-05-01 10:00:00"),
                                           row(2, "0.25", "2024-05-01 09:00:00")}) + "}");
  ASSERT_TRUE(query());
  EXPECT_DOUBLE_EQ(figures.payout, 3.75);
  EXPECT_EQ(figures.lastTimestamp, fileTime("2024-05-01 11:00:00"));
}

TEST_F(TransactionQuery, EveryNewTransactionOfOneSecondCounts) {
  // MPOS writes a payout and its fee in the same second, next to the block's credit.
  pin("{\"transactions\":" + transactions({row(4, "0.1", "2024-05-01 10:00:00", "TXFee"),
                                           row(3, "4.9", "2024-05-01 10:00:00"),
                                           row(2, "1.5", "2024-05-01 10:00:00", "Credit"),
                                           row(1, "0.25", "2024-05-01 09:00:00", "Debit_MP")}) + "}");
  start();
  ASSERT_TRUE(query());
  EXPECT_DOUBLE_EQ(figures.payout, 5.15);
  EXPECT_EQ(figures.lastTimestamp, fileTime("2024-05-01 10:00:00"));
  ASSERT_TRUE(query());
  EXPECT_DOUBLE_EQ(figures.payout, 5.15) << "counted once";
}

// Each type MPOS lists: only what went to the player's wallet is payout; the rest is in the
// balance already or was taken from it.
struct TypeCase {
  std::string type;
  bool paidOut;
};

void PrintTo(const TypeCase& value, std::ostream* out) { *out << value.type; }

class TransactionType : public TransactionQuery, public testing::WithParamInterface<TypeCase> {};

TEST_P(TransactionType, CountsOnlyPayouts) {
  pin("{\"transactions\":" + transactions({row(1, "\"2.000000000000000000000000000000\"", "2024-05-01 10:00:00",
                                                 GetParam().type)}) + "}");
  start();
  figures.payout = 7.0;
  ASSERT_TRUE(query());
  EXPECT_DOUBLE_EQ(figures.payout, GetParam().paidOut ? 9.0 : 7.0);
  EXPECT_EQ(figures.lastTimestamp, fileTime("2024-05-01 10:00:00")) << "looked at, whatever its type";
}

INSTANTIATE_TEST_SUITE_P(
    Mpos, TransactionType,
    testing::Values(TypeCase{"Debit_AP", true}, TypeCase{"Debit_MP", true}, TypeCase{"Credit", false},
                    TypeCase{"Credit_PPS", false}, TypeCase{"Bonus", false}, TypeCase{"Fee", false},
                    TypeCase{"TXFee", false}, TypeCase{"Donation", false}, TypeCase{"Orphan_Credit", false},
                    TypeCase{"debit_ap", false}));

// The shape of a real MPOS pool's answer: four blocks credited (14.48), one automatic payout of 5
// with its fee in the same second, block fees and donations; 0.275 taken in all.
const std::string kMposAnswer = R"({"getusertransactions":{"version":"1.0.0","runtime":12.5,"data":{"transactions":[
{"id":"913","username":"kuro","type":"Credit","coin_address":null,"amount":"3.620000000000000000000000000000","blockhash":"00000000000000a7","confirmations":"3","timestamp":"2024-05-02 04:11:20"},
{"id":"912","username":"kuro","type":"Fee","coin_address":null,"amount":"0.050000000000000000000000000000","blockhash":"00000000000000a7","confirmations":"3","timestamp":"2024-05-02 04:11:20"},
{"id":"911","username":"kuro","type":"Donation","coin_address":null,"amount":"0.015000000000000000000000000000","blockhash":"00000000000000a7","confirmations":"3","timestamp":"2024-05-02 04:11:20"},
{"id":"905","username":"kuro","type":"Debit_AP","coin_address":"MWkuroAddr","amount":"5.000000000000000000000000000000","blockhash":null,"confirmations":null,"timestamp":"2024-05-01 22:00:03"},
{"id":"906","username":"kuro","type":"TXFee","coin_address":"MWkuroAddr","amount":"0.100000000000000000000000000000","blockhash":null,"confirmations":null,"timestamp":"2024-05-01 22:00:03"},
{"id":"899","username":"kuro","type":"Credit","coin_address":null,"amount":"3.860000000000000000000000000000","blockhash":"000000000000003c","confirmations":"120","timestamp":"2024-05-01 17:45:09"},
{"id":"898","username":"kuro","type":"Fee","coin_address":null,"amount":"0.045000000000000000000000000000","blockhash":"000000000000003c","confirmations":"120","timestamp":"2024-05-01 17:45:09"},
{"id":"897","username":"kuro","type":"Donation","coin_address":null,"amount":"0.010000000000000000000000000000","blockhash":"000000000000003c","confirmations":"120","timestamp":"2024-05-01 17:45:09"},
{"id":"890","username":"kuro","type":"Credit","coin_address":null,"amount":"3.500000000000000000000000000000","blockhash":"0000000000000021","confirmations":"240","timestamp":"2024-05-01 11:02:41"},
{"id":"889","username":"kuro","type":"Fee","coin_address":null,"amount":"0.050000000000000000000000000000","blockhash":"0000000000000021","confirmations":"240","timestamp":"2024-05-01 11:02:41"},
{"id":"888","username":"kuro","type":"Donation","coin_address":null,"amount":"0.005000000000000000000000000000","blockhash":"0000000000000021","confirmations":"240","timestamp":"2024-05-01 11:02:41"},
{"id":"870","username":"kuro","type":"Credit","coin_address":null,"amount":"3.500000000000000000000000000000","blockhash":"0000000000000011","confirmations":"360","timestamp":"2024-05-01 06:30:00"}
]},"transactionsummary":{"Credit":"14.480000000000000000000000000000","Debit_AP":"5.000000000000000000000000000000","Donation":"0.030000000000000000000000000000","Fee":"0.145000000000000000000000000000","TXFee":"0.100000000000000000000000000000"}}})";

TEST_F(TransactionQuery, ARealPoolsAnswerCountsItsOnePayout) {
  start({"--fault", bodyFault(kMposAnswer, "getusertransactions")});
  ASSERT_TRUE(query());
  EXPECT_DOUBLE_EQ(figures.payout, 5.0);
  EXPECT_EQ(figures.lastTimestamp, fileTime("2024-05-02 04:11:20"));
}

TEST_F(TransactionQuery, AlreadyCountedTransactionsAreNotReadAtAll) {
  pin("{\"transactions\":[{\"type\":\"Debit_AP\",\"timestamp\":\"2024-05-01 10:00:00\",\"amount\":\"n/a\"},"
      "{\"type\":\"Debit_AP\",\"timestamp\":\"2024-05-01 09:00:00\"}]}");
  start();
  figures.payout = 7.0;
  figures.lastTimestamp = fileTime("2024-05-01 10:00:00");
  ASSERT_TRUE(query());
  EXPECT_EQ(figures.payout, 7.0);
}

struct WalkCase {
  const char* label;
  std::string data;
  bool succeeds;
  double payout;  // afterwards, from 7.0 and lastTimestamp 2000-01-01
};

void PrintTo(const WalkCase& value, std::ostream* out) { *out << value.label; }

class TransactionWalk : public TransactionQuery, public testing::WithParamInterface<WalkCase> {};

TEST_P(TransactionWalk, CommitsOnlyAWholeWalk) {
  pin("{\"transactions\":" + GetParam().data + "}");
  start();
  figures.payout = 7.0;
  figures.lastTimestamp = fileTime("2000-01-01 00:00:00");
  const int64_t before = figures.lastTimestamp;
  ASSERT_EQ(query(), GetParam().succeeds);
  EXPECT_DOUBLE_EQ(figures.payout, GetParam().payout);
  if (!GetParam().succeeds) {
    EXPECT_EQ(figures.lastTimestamp, before);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lists, TransactionWalk,
    testing::Values(
        WalkCase{"empty list", transactions({}), true, 7.0},
        WalkCase{"fractional seconds", transactions({row(1, "2", "2024-05-01 10:00:00.123")}), true, 9.0},
        WalkCase{"not newer", transactions({row(1, "2", "1999-12-31 23:59:59")}), true, 7.0},
        // The newest is bad, the older one was already added to the running total: nothing commits.
        WalkCase{"bad newest amount after a counted one",
                 transactions({row(2, "\"n/a\"", "2024-05-01 10:00:00"), row(1, "2", "2024-05-01 09:00:00")}), false, 7.0},
        WalkCase{"bool amount",
                 transactions({row(2, "true", "2024-05-01 10:00:00"), row(1, "2", "2024-05-01 09:00:00")}), false, 7.0},
        WalkCase{"T between date and time", transactions({row(1, "2", "2024-05-01T10:00:00")}), false, 7.0},
        WalkCase{"date only", transactions({row(1, "2", "2024-05-01")}), false, 7.0},
        WalkCase{"29 February 2023", transactions({row(1, "2", "2023-02-29 10:00:00")}), false, 7.0},
        WalkCase{"year 1600", transactions({row(1, "2", "1600-12-31 10:00:00")}), false, 7.0},
        WalkCase{"numeric timestamp", transactions({"{\"amount\":2,\"timestamp\":1714557600}"}), false, 7.0},
        // Only a payout's amount is read; a type that is missing or not text is no payout.
        WalkCase{"bad credit amount", transactions({row(1, "\"n/a\"", "2024-05-01 10:00:00", "Credit")}), true, 7.0},
        WalkCase{"no type", transactions({"{\"amount\":2,\"timestamp\":\"2024-05-01 10:00:00\"}"}), true, 7.0},
        WalkCase{"no timestamp", transactions({"{\"amount\":2}"}), false, 7.0},
        WalkCase{"element not an object", transactions({"2", row(1, "2", "2024-05-01 10:00:00")}), false, 7.0},
        // A payout that is not finite could never be saved again.
        WalkCase{"payout beyond double",
                 transactions({row(2, "1e308", "2024-05-01 10:00:00"), row(1, "1e308", "2024-05-01 09:00:00")}), false, 7.0},
        WalkCase{"object in place of list", "{}", false, 7.0}, WalkCase{"null in place of list", "null", false, 7.0}));

TEST_F(TransactionQuery, SimulatedMposListCountsEachPayoutOnce) {
  start({"--epoch", "1714557600", "--history", "30"});  // decimal strings, newest first, payouts among blocks
  ASSERT_TRUE(query());
  EXPECT_GT(figures.payout, 0.0);
  const double first = figures.payout;
  ASSERT_TRUE(query());
  EXPECT_EQ(figures.payout, first);
}

// ---- workers ----

class WorkerQuery : public PoolFixture {
 protected:
  void SetUp() override {
    PoolFixture::SetUp();
    figures.workers = {{"old", 1}};
    figures.totalHashrate = 99;
  }
  bool query(const std::string& data) {
    pin("{\"workers\":" + data + "}");
    if (!pool) start();
    return queryWorkers(platform.fetch(), buffer, address(), record.apiKey, figures).ok();
  }
  using Workers = std::map<std::string, double>;
};

TEST_F(WorkerQuery, RepeatedNameKeepsItsFirstValueButAddsToTheSum) {
  ASSERT_TRUE(query(R"([{"username":"a.1","hashrate":5},{"username":"a.1","hashrate":7}])"));
  EXPECT_EQ(figures.workers, (Workers{{"a.1", 5}}));
  EXPECT_EQ(figures.totalHashrate, 12);
}

TEST_F(WorkerQuery, WorkersKeepThePoolsFigureAndTheTotalSumsItTruncated) {
  ASSERT_TRUE(query(R"([{"username":"a","hashrate":12.9},{"username":"b","hashrate":-3.7},{"username":"c","hashrate":0}])"));
  EXPECT_EQ(figures.workers, (Workers{{"a", 12.9}, {"b", -3.7}, {"c", 0}}));
  EXPECT_EQ(figures.totalHashrate, 9);
  // A captured yescrypt pool: CPU workers below 1 KH/s keep their figure; the total, as experience
  // takes it, does not count them.
  ASSERT_TRUE(query(R"([{"username":"kuro.cpu0","hashrate":0.49},{"username":"kuro.cpu1","hashrate":0.24}])"));
  EXPECT_EQ(figures.workers, (Workers{{"kuro.cpu0", 0.49}, {"kuro.cpu1", 0.24}}));
  EXPECT_EQ(figures.totalHashrate, 0);
}

// SHA-256 ASICs of today: 10 to 200 TH/s, that is 1e10 to 2e11 KH/s.
TEST_F(WorkerQuery, HashratesBeyond32BitsAreKeptAndOnlyThe64BitSumSaturates) {
  ASSERT_TRUE(query(R"([{"username":"a","hashrate":95000000000},{"username":"b","hashrate":2e11}])"));
  EXPECT_EQ(figures.workers, (Workers{{"a", 95e9}, {"b", 2e11}}));
  EXPECT_EQ(figures.totalHashrate, 295000000000);
  ASSERT_TRUE(query(R"([{"username":"a","hashrate":-2e9},{"username":"b","hashrate":-2e9}])"));
  EXPECT_EQ(figures.totalHashrate, -4000000000);
  ASSERT_TRUE(query(R"([{"username":"a","hashrate":9e18},{"username":"b","hashrate":9e18}])"));
  EXPECT_EQ(figures.totalHashrate, INT64_MAX);
}

TEST_F(WorkerQuery, EmptyListEmptiesTheWorkers) {
  ASSERT_TRUE(query("[]"));
  EXPECT_TRUE(figures.workers.empty());
  EXPECT_EQ(figures.totalHashrate, 0);
}

TEST_F(WorkerQuery, NamesEndAtAZeroByteAndSortByteWise) {
  ASSERT_TRUE(query(R"([{"username":"b\u0000x","hashrate":1},{"username":"\u00e9","hashrate":2},)"
                    R"({"username":"Zed","hashrate":3},{"username":"abc","hashrate":4}])"));
  std::vector<std::string> names;
  for (const auto& entry : figures.workers) names.push_back(entry.first);
  EXPECT_EQ(names, (std::vector<std::string>{"Zed", "abc", "b", "\xC3\xA9"}));
}

// Every name the pool sends is cleaned as it enters, so the pages, notices, terminals and files
// that show it never see a control, a bidirectional override or invalid UTF-8.
TEST_F(WorkerQuery, NamesAreCleanedAsTheyEnter) {
  ASSERT_TRUE(query(R"([{"username":"acct.evil\nnotice: fake","hashrate":1},)"
                    R"({"username":"acct.\u001b[2J\r","hashrate":2},)"
                    R"({"username":"acct.\u202egnp.exe","hashrate":3}])"));
  EXPECT_EQ(figures.workers, (Workers{{"acct.evil\xEF\xBF\xBDnotice: fake", 1},
                                     {"acct.\xEF\xBF\xBD[2J\xEF\xBF\xBD", 2},
                                     {"acct.gnp.exe", 3}}));
  EXPECT_TRUE(readWorkersAnswer("{\"getuserworkers\":{\"data\":[{\"username\":\"a\xFF\",\"hashrate\":1}]}}", figures));
  EXPECT_EQ(figures.workers, (Workers{{"a\xEF\xBF\xBD", 1}}));
}

TEST_F(WorkerQuery, FailureWhileWalkingKeepsTheWorkersBeforeIt) {
  EXPECT_FALSE(query(R"([{"username":"a","hashrate":1},{"username":"b","hashrate":2},)"
                     R"({"username":"c","hashrate":"n/a"},{"username":"d","hashrate":4}])"));
  EXPECT_EQ(figures.workers, (Workers{{"a", 1}, {"b", 2}}));
  EXPECT_EQ(figures.totalHashrate, 99);
}

TEST_F(WorkerQuery, FailureBeforeTheListLeavesEverything) {
  for (const char* data : {R"({"username":"a","hashrate":1})", "null", "\"[]\""}) {
    EXPECT_FALSE(query(data)) << data;
    EXPECT_EQ(figures.workers, (Workers{{"old", 1}}));
    EXPECT_EQ(figures.totalHashrate, 99);
  }
}

TEST_F(WorkerQuery, EveryElementNeedsAnObjectANameAndANumber) {
  for (const char* data : {R"([1])", R"([{"hashrate":1}])", R"([{"username":1,"hashrate":1}])",
                           R"([{"username":"a"}])", R"([{"username":"a","hashrate":"5"}])",
                           R"([{"username":"a","hashrate":null}])"}) {
    EXPECT_FALSE(query(data)) << data;
    EXPECT_TRUE(figures.workers.empty()) << data;
  }
}

TEST_F(PoolFixture, SimulatedWorkersWithMposExtraMembersAreRead) {
  start();
  ASSERT_TRUE(queryWorkers(platform.fetch(), buffer, address(), record.apiKey, figures).ok());
  ASSERT_FALSE(figures.workers.empty());
  for (const auto& [name, hashrate] : figures.workers) EXPECT_TRUE(name.starts_with("demo.")) << name;
}

}  // namespace
}  // namespace orelog
