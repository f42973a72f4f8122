// Eight update cycles on fixed pool answers save exactly the committed config.json. Every tree runs
// this, the 32-bit one under an emulator too, so the saved doubles (payout, "Last Timestamp",
// balance sums, thresholds) are the same bytes whatever the processor's arithmetic.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "app/update_cycle.h"
#include "pool/response_buffer.h"
#include "profile/player_record.h"
#include "profile/settings.h"
#include "services/null_platform.h"
#include "tests/support/read_file.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_paths.h"

namespace orelog {
namespace {

constexpr int kCycles = 8;
const std::string kExpectedRecord = test::sourcePath("tests/app/eight_cycles_config.json");

// The workers' hashrates at each cycle, as the pool writes them (kH/s with fractions).
constexpr std::array<std::array<std::string_view, 3>, kCycles> kHashrates = {{
    {"1234.56", "69.91", "0"},
    {"1250.5", "70.25", "12.75"},
    {"1301.125", "68.0", "13.333333333333334"},
    {"1199.99", "71.5", "0.5"},
    {"25000.75", "69.91", "14.2"},
    {"24999.25", "72.125", "0"},
    {"26010.5", "0.99", "15.875"},
    {"25500.05", "70.7", "16.1"},
}};

// Confirmed and unconfirmed balance at each cycle: MPOS's 30-digit decimal strings.
constexpr std::array<std::array<std::string_view, 2>, kCycles> kBalances = {{
    {"1.500000000000000000000000000000", "0.250000000000000000000000000000"},
    {"0.100000000000000000000000000000", "0.200000000000000000000000000000"},
    {"0.123456789012345678901234567890", "0.987654321098765432109876543210"},
    {"3.000000000000000000000000000001", "0.333333333333333333333333333333"},
    {"0.000000010000000000000000000000", "0.700000000000000000000000000000"},
    {"12.345678901234567890123456789000", "0.010000000000000000000000000000"},
    {"5.984567890000000000000000000000", "1.000000000000000000000000000000"},
    {"0.600000000000000000000000000000", "0.300000000000000000000000000000"},
}};

// Two payouts arrive before each cycle, so every cycle adds two amounts to the running payout. The
// last is just over half a unit in the last place of the payout before it (134.56517278915771, whose
// last bit is even): in double precision the sum rounds up, but the x87 first rounds it to its
// 64-bit mantissa, exactly halfway, and then down to the even neighbour, the old payout.
constexpr std::array<std::string_view, 2 * kCycles> kPayouts = {
    "0.1", "0.2",
    "0.3", "2.5",
    "1.25", "0.333333333333333333333333333333",
    "0.00000001", "12.345678901234567890123456789",
    "7.7", "0.01",
    "3.14159265358979323846264338328", "0.7",
    "100.000000000000000000000000001", "0.000000000000000000000000000001",
    "5.984567891000000000000000000000", "0.000000000000014210854715212003"};

std::string answer(std::string_view action, const std::string& data) {
  return "{\"" + std::string(action) + "\":{\"version\":\"1.0.0\",\"runtime\":1.25,\"data\":" + data + "}}";
}

std::string workersAnswer(int cycle) {
  static constexpr std::array<std::string_view, 3> names = {"kuro.rig1", "kuro.rig2", "kuro.cpu"};
  std::string list;
  for (std::size_t i = 0; i < names.size(); ++i) {
    list += std::string(i ? "," : "") + "{\"username\":\"" + std::string(names[i]) + "\",\"hashrate\":" +
            std::string(kHashrates[cycle][i]) + ",\"difficulty\":0.5}";
  }
  return answer("getuserworkers", "[" + list + "]");
}

std::string balanceAnswer(int cycle) {
  return answer("getuserbalance", "{\"confirmed\":\"" + std::string(kBalances[cycle][0]) + "\",\"unconfirmed\":\"" +
                                      std::string(kBalances[cycle][1]) + "\"}");
}

// Every payout so far, newest first, one minute apart.
std::string transactionsAnswer(int cycle) {
  std::string list;
  for (int id = 2 * cycle + 1; id >= 0; --id) {
    const std::string minute = (id < 10 ? "0" : "") + std::to_string(id);
    list += std::string(list.empty() ? "" : ",") + "{\"id\":" + std::to_string(id + 1) +
            ",\"username\":\"kuro\",\"type\":\"Debit_AP\",\"amount\":\"" + std::string(kPayouts[id]) +
            "\",\"timestamp\":\"2026-12-01 10:" + minute + ":00\"}";
  }
  return answer("getusertransactions", "{\"transactions\":[" + list + "]}");
}

// A pool that answers each action with the figures of the current cycle.
struct FixedPoolPlatform : NullPlatform {
  int cycle = 0;

  HttpResult httpGet(const HttpRequest& request, std::span<uint8_t> buffer, const FetchCancel&) override {
    const std::u16string& target = request.target;
    const std::string body = target.find(u"action=getuserworkers") != std::u16string::npos  ? workersAnswer(cycle)
                             : target.find(u"action=getuserbalance") != std::u16string::npos ? balanceAnswer(cycle)
                                                                                              : transactionsAnswer(cycle);
    if (body.size() >= buffer.size()) return httpFailed(HttpFailure::TooLarge, 200);
    std::copy(body.begin(), body.end(), buffer.begin());
    return {HttpFailure::None, 200, body.size()};
  }
};

TEST(CycleRecord, EightCyclesOnFixedAnswersSaveTheCommittedRecord) {
  test::TempFolder folder("orelog-cycle-record");
  const auto file = folder.write(
      kSettingsFileName,
      R"({"Version":3,"Player Name":"ねこ","Server":"http://127.0.0.1/index.php","API Key":"demo",)"
      R"("Poko Coin Coin Spent":1.1,"Items":[{"Item ID":13,"X":100,"Y":105},{"Item ID":0,"X":-1,"Y":-1}]})");
  FixedPoolPlatform platform;
  ResponseBuffer buffer;
  PlayerRecord record;
  ASSERT_TRUE(loadSettings(record, file, 0));
  for (platform.cycle = 0; platform.cycle < kCycles; ++platform.cycle) {
    ASSERT_TRUE(runUpdateCycle(record, platform, buffer, file)) << "cycle " << platform.cycle;
  }
  EXPECT_GT(record.level, 1);  // both experience ticks of the eight cycles counted
  EXPECT_EQ(test::readFile(file), test::readFile(kExpectedRecord))
      << "expected in " << kExpectedRecord;
}

}  // namespace
}  // namespace orelog
