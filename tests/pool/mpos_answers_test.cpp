// Answers shaped as MPOS sends them: transactions paged by start and limit and counted by id, PHP
// messages printed before the envelope. A stand-in pool answers in memory as MPOS's API page does.
#include <gtest/gtest.h>

#include <charconv>
#include <cstring>
#include <string>
#include <vector>

#include "pool/figures_fetch.h"
#include "pool/pool_queries.h"
#include "pool/pool_timestamp.h"
#include "profile/settings_text.h"
#include "tests/support/printable.h"
#include "util/utf.h"

namespace orelog {
namespace {

struct Row {
  long long id = 0;  // 0: a pool that sends no ids
  std::string type;
  std::string timestamp;
  std::string amount = "0.100000000000000000000000000000";
};

// getusertransactions as MPOS answers it: "ORDER BY id DESC LIMIT start, limit", limit at most 100
// (else 100), start from 0; a pool from before 2018 ignores start. Amounts are DECIMAL(.., 30)
// strings, ids numbers.
struct MposTransactions {
  std::vector<Row> rows;  // newest first
  bool ignoresStart = false;
  std::vector<std::string> targets;  // every request's target, in order

  static long long member(const std::string& target, const char* name, long long absent) {
    const std::string key = std::string("&") + name + "=";
    const auto at = target.find(key);
    if (at == std::string::npos) return absent;
    long long value = absent;
    std::from_chars(target.data() + at + key.size(), target.data() + target.size(), value);
    return value;
  }

  std::string page(std::size_t start, std::size_t limit) const {
    std::string list;
    for (std::size_t i = start; i < rows.size() && i < start + limit; ++i) {
      const Row& row = rows[i];
      list += list.empty() ? "{" : ",{";
      if (row.id > 0) list += "\"id\":" + std::to_string(row.id) + ",";
      list += "\"username\":\"kuro\",\"type\":\"" + row.type + "\",\"amount\":\"" + row.amount +
              "\",\"coin_address\":null,\"timestamp\":\"" + row.timestamp + "\",\"blockhash\":null}";
    }
    return R"({"getusertransactions":{"version":"1.0.0","runtime":3.1,"data":{"transactions":[)" + list +
           R"(],"transactionsummary":{}}}})";
  }

  HttpFetch fetch() {
    return [this](const HttpRequest& request, std::span<uint8_t> buffer) {
      const std::string target = utf16ToUtf8(request.target);
      targets.push_back(target);
      long long limit = member(target, "limit", 100);
      if (limit < 0 || limit > 100) limit = 100;
      const long long start = ignoresStart ? 0 : std::max(0LL, member(target, "start", 0));
      const std::string body = page(static_cast<std::size_t>(start), static_cast<std::size_t>(limit));
      std::memcpy(buffer.data(), body.data(), body.size());
      return HttpResult{HttpFailure::None, 200, body.size()};
    };
  }
};

constexpr int kMinutesPerDay = 24 * 60;
// 2024-10-27 00:00, in minutes from the start of October.
constexpr int kOctober27 = 26 * kMinutesPerDay;

// A PPS pool: a Credit_PPS and a Fee_PPS row for the player at every run, three minutes apart,
// ids from `firstId` on, the first run `firstMinute` minutes into October 2024; `count` rows,
// returned oldest first.
std::vector<Row> ppsRows(long long firstId, int count, int firstMinute) {
  std::vector<Row> rows;
  for (int i = 0; i < count; ++i) {
    const int minute = firstMinute + i / 2 * 3;
    char timestamp[32];
    std::snprintf(timestamp, sizeof timestamp, "2024-10-%02d %02d:%02d:00", 1 + minute / kMinutesPerDay,
                  minute % kMinutesPerDay / 60, minute % 60);
    rows.push_back({firstId + i, i % 2 == 0 ? "Credit_PPS" : "Fee_PPS", timestamp});
  }
  return rows;
}

class TransactionPages : public testing::Test {
 protected:
  MposTransactions pool;
  ResponseBuffer buffer;
  PlayerRecord record;

  // Rows given oldest first become the pool's list, newest first.
  void write(std::vector<Row> oldestFirst) { pool.rows.insert(pool.rows.begin(), oldestFirst.rbegin(), oldestFirst.rend()); }

  // Asks as an update does: from the record's figures, which are committed back to it.
  QueryResult query() { return query(pool.fetch()); }
  QueryResult query(const HttpFetch& fetch) {
    const PoolAddress address{false, u"127.0.0.1", 80, u"index.php"};
    PoolFigures figures = figuresQueryFor(record).figures;
    const QueryResult result = queryTransactions(fetch, buffer, address, u"key", figures);
    applyPoolFigures(record, figures);
    return result;
  }
};

// The player's history up to id 1000, all counted: 2024-10-27 00:00 and before.
constexpr long long kCountedId = 1000;

void countedUpTo(PlayerRecord& record) {
  record.payout = 7.0;
  record.lastTransactionId = kCountedId;
  record.lastTimestamp = *poolTimestampToFileTime("2024-10-27 00:00:00");
}

TEST_F(TransactionPages, APayout120RowsBackIsCountedOnce) {
  write(ppsRows(kCountedId - 199, 200, kOctober27 - 600));  // already counted
  write({{kCountedId + 1, "Debit_AP", "2024-10-27 01:00:00", "5.000000000000000000000000000000"}});
  write(ppsRows(kCountedId + 2, 120, kOctober27 + 61));  // the runs since push the payout 121 rows back
  countedUpTo(record);
  ASSERT_TRUE(query().ok());
  EXPECT_DOUBLE_EQ(record.payout, 12.0);
  EXPECT_EQ(record.lastTransactionId, kCountedId + 121);
  EXPECT_EQ(pool.targets.size(), 2u);
  EXPECT_TRUE(pool.targets[0].ends_with("&api_key=key&limit=100")) << pool.targets[0];
  EXPECT_TRUE(pool.targets[1].ends_with("&api_key=key&limit=100&start=100")) << pool.targets[1];
  ASSERT_TRUE(query().ok());
  EXPECT_DOUBLE_EQ(record.payout, 12.0) << "counted once";
}

TEST_F(TransactionPages, APoolWithoutIdsIsPagedByTheTimeMark) {
  std::vector<Row> rows = ppsRows(0, 40, kOctober27 - 200);
  rows.push_back({0, "Debit_MP", "2024-10-27 01:00:00", "5.000000000000000000000000000000"});
  for (Row& row : ppsRows(0, 150, kOctober27 + 62)) rows.push_back(row);
  for (Row& row : rows) row.id = 0;
  write(rows);
  countedUpTo(record);
  record.lastTransactionId = 0;
  ASSERT_TRUE(query().ok());
  EXPECT_DOUBLE_EQ(record.payout, 12.0);
  EXPECT_EQ(record.lastTransactionId, 0);
  ASSERT_TRUE(query().ok());
  EXPECT_DOUBLE_EQ(record.payout, 12.0);
}

TEST_F(TransactionPages, APoolThatIgnoresStartIsAskedOnceMore) {
  write(ppsRows(1, 300, 0));
  pool.ignoresStart = true;
  ASSERT_TRUE(query().ok());  // a new player: every row is new
  EXPECT_EQ(pool.targets.size(), 2u) << "the second page repeats the first";
  EXPECT_EQ(record.lastTransactionId, 300);
}

TEST_F(TransactionPages, ANewPlayerIsAskedTenPagesAtMost) {
  write(ppsRows(1, 1500, 0));
  write({{1501, "Debit_AP", "2024-10-27 23:59:00", "2.000000000000000000000000000000"}});
  ASSERT_TRUE(query().ok());
  EXPECT_EQ(pool.targets.size(), 10u);
  EXPECT_TRUE(pool.targets.back().ends_with("&start=900")) << pool.targets.back();
  EXPECT_DOUBLE_EQ(record.payout, 2.0);
  EXPECT_EQ(record.lastTransactionId, 1501);
}

// MPOS's timestamps are the database's wall clock without a zone. At the end of daylight saving
// the clock goes back an hour: a newer payout carries an earlier time, and its id tells it apart.
TEST_F(TransactionPages, APayoutWithAHigherIdButAnHourEarlierTimeCountsOnce) {
  write({{990, "Credit_PPS", "2024-10-27 02:50:00"}, {kCountedId, "Fee_PPS", "2024-10-27 02:59:00"}});
  countedUpTo(record);
  record.lastTimestamp = *poolTimestampToFileTime("2024-10-27 02:59:00");
  write({{kCountedId + 1, "Debit_AP", "2024-10-27 02:05:00", "5.000000000000000000000000000000"},
         {kCountedId + 2, "TXFee", "2024-10-27 02:05:00", "0.100000000000000000000000000000"}});
  ASSERT_TRUE(query().ok());
  EXPECT_DOUBLE_EQ(record.payout, 12.0);
  EXPECT_EQ(record.lastTimestamp, *poolTimestampToFileTime("2024-10-27 02:59:00")) << "the mark never goes back";
  ASSERT_TRUE(query().ok());
  EXPECT_DOUBLE_EQ(record.payout, 12.0);
}

TEST_F(TransactionPages, ARowOfTheSameSecondAsTheMarkCountsByItsId) {
  write({{kCountedId, "Credit_PPS", "2024-10-27 00:00:00"}});
  countedUpTo(record);
  write({{kCountedId + 1, "Debit_AP", "2024-10-27 00:00:00", "1.500000000000000000000000000000"}});
  ASSERT_TRUE(query().ok());
  EXPECT_DOUBLE_EQ(record.payout, 8.5);
}

// A record written before ids were kept counts by its time mark until the first answer with ids.
TEST_F(TransactionPages, ARecordWithoutAnIdCountsByTimeUntilTheFirstIds) {
  write({{700, "Debit_AP", "2024-10-26 20:00:00", "3.000000000000000000000000000000"},
         {701, "Debit_AP", "2024-10-27 04:00:00", "2.000000000000000000000000000000"}});
  countedUpTo(record);
  record.lastTransactionId = 0;
  ASSERT_TRUE(query().ok());
  EXPECT_DOUBLE_EQ(record.payout, 9.0);
  EXPECT_EQ(record.lastTransactionId, 701);
}

TEST_F(TransactionPages, ARestartCountsNothingTwice) {
  write(ppsRows(1, 130, 0));
  write({{131, "Debit_AP", "2024-10-27 12:00:00", "5.000000000000000000000000000000"}});
  ASSERT_TRUE(query().ok());
  EXPECT_DOUBLE_EQ(record.payout, 5.0);
  const auto saved = settingsText(record);
  ASSERT_TRUE(saved);
  EXPECT_NE(saved->find("\"Last Transaction Id\":131"), std::string::npos) << *saved;

  PlayerRecord restarted;
  ASSERT_TRUE(readSettingsText(restarted, *saved).loaded);
  EXPECT_EQ(restarted.lastTransactionId, 131);
  record = restarted;
  write({{132, "Debit_MP", "2024-10-27 12:30:00", "1.000000000000000000000000000000"}});
  ASSERT_TRUE(query().ok());
  EXPECT_DOUBLE_EQ(record.payout, 6.0);
}

// New rows written between two page requests push the first page's last rows onto the second.
TEST_F(TransactionPages, ARowSeenOnTwoPagesCountsOnce) {
  write(ppsRows(1, 250, 0));
  write({{251, "Debit_AP", "2024-10-27 20:00:00", "5.000000000000000000000000000000"}});
  write(ppsRows(252, 120, kOctober27 + 1300));
  countedUpTo(record);
  record.lastTransactionId = 200;
  HttpFetch inner = pool.fetch();
  int asked = 0;
  const HttpFetch fetch = [&](const HttpRequest& request, std::span<uint8_t> bytes) {
    if (asked++ == 1) write(ppsRows(372, 2, kOctober27 + 1400));
    return inner(request, bytes);
  };
  ASSERT_TRUE(query(fetch).ok());
  EXPECT_DOUBLE_EQ(record.payout, 12.0);
}

TEST_F(TransactionPages, ABadPageCommitsNothing) {
  write(ppsRows(1, 150, 0));
  pool.rows[120].timestamp = "2024-10-27T00:00:00";
  record.payout = 7.0;
  EXPECT_EQ(query().failure, QueryFailure::BadAnswer);
  EXPECT_EQ(record.payout, 7.0);
  EXPECT_EQ(record.lastTransactionId, 0);
}

// An id MPOS's drivers may send: a number or a string of digits. Anything else is no id, and the
// row counts by its time.
TEST(TransactionIds, NumbersAndDigitStringsAreIds) {
  const std::pair<std::string, long long> cases[] = {
      {"913", 913}, {"\"913\"", 913}, {"\"\"", 0}, {"\"9x\"", 0}, {"-4", 0}, {"0", 0}, {"1.5", 0}, {"null", 0},
      {"\"99999999999999999999\"", 0}};
  for (const auto& [id, expected] : cases) {
    PoolFigures figures;
    const std::string body = R"({"getusertransactions":{"data":{"transactions":[{"id":)" + id +
                             R"(,"type":"Credit","amount":"1","timestamp":"2024-05-01 10:00:00"}]}}})";
    ASSERT_TRUE(readTransactionsAnswer(body, figures)) << id;
    EXPECT_EQ(figures.lastTransactionId, expected) << id;
  }
}

// ---- PHP messages before the answer ----

struct PhpCase {
  std::string body;
  bool read;
};

void PrintTo(const PhpCase& value, std::ostream* out) { *out << test::printable(value.body); }

class PhpMessages : public testing::TestWithParam<PhpCase> {};

const std::string kWorkers = R"({"getuserworkers":{"version":"1.0.0","runtime":4.2,"data":[{"id":7,"username":"kuro.rig1","password":"x","monitor":0,"hashrate":140.5,"difficulty":16}]}})";

TEST_P(PhpMessages, AreSkippedOnlyBeforeTheActionsOwnEnvelope) {
  PoolFigures figures;
  const std::string_view body = withoutPhpMessages(GetParam().body, "getuserworkers");
  EXPECT_EQ(readWorkersAnswer(body, figures), GetParam().read);
  if (GetParam().read) {
    EXPECT_EQ(figures.workers.at("kuro.rig1"), 140.5);
  }
}

// MPOS issue 2774: PHP 7.2 warns about count() before every answer.
const std::string kCountWarning =
    "<br />\n<b>Warning</b>:  count(): Parameter must be an array or an object that implements Countable in "
    "<b>/var/www/mpos/include/classes/base.class.php</b> on line <b>91</b><br />\n";

INSTANTIATE_TEST_SUITE_P(
    Bodies, PhpMessages,
    testing::Values(PhpCase{kWorkers, true}, PhpCase{kCountWarning + kWorkers, true},
                    PhpCase{kCountWarning + kCountWarning + kWorkers, true},
                    PhpCase{"<br />\n<b>Notice</b>:  Undefined index: id in <b>/var/www/mpos/index.php</b> on line "
                            "<b>12</b><br />\n<br />\n<b>Deprecated</b>:  Function create_function() is deprecated in "
                            "<b>/var/www/mpos/x.php</b> on line <b>3</b><br />\n" + kWorkers,
                            true},
                    // With html_errors off PHP prints plain lines; the command-line form starts "PHP".
                    PhpCase{"\nWarning: count(): Parameter must be an array in /var/www/x.php on line 91\n" + kWorkers,
                            true},
                    PhpCase{"PHP Deprecated:  Methods with the same name in x.php on line 3\r\n" + kWorkers, true},
                    // Anything else before the envelope is no answer.
                    PhpCase{"<!DOCTYPE html><html><body>" + kWorkers, false},
                    PhpCase{"<br />\n<b>Fatal error</b>:  Uncaught Error in x.php<br />\n" + kWorkers, false},
                    PhpCase{kCountWarning + "hello\n" + kWorkers, false},
                    PhpCase{kCountWarning, false},
                    PhpCase{kCountWarning + R"({"getuserbalance":{"data":{"confirmed":"1","unconfirmed":"0"}}})", false}));

}  // namespace
}  // namespace orelog
