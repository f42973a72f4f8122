// Deterministic figures for the demo pool's account.
#include "demo_figures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>

namespace orelog::demo {
namespace {

constexpr const char* kWorkerNames[] = {"tama", "mike", "kuro", "shiro", "rig1", "rig2", "gpu0", "cpu"};
constexpr long long kHashrateStepSeconds = 30;  // hashrates change every half minute of pool time
constexpr long long kPayoutThresholdUnits = 500000000;  // confirmed balance is paid out at 5 coins
constexpr long long kPayoutFeeUnits = 10000000;         // each automatic payout costs 0.1 coin
constexpr long long kPayoutDelaySeconds = 60;           // the payout job runs a minute after a block
constexpr int kUnconfirmedBlocks = 2;
constexpr int kConfirmationsPerBlock = 4;

uint64_t mix(uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

uint64_t noise(unsigned long seed, uint64_t a, uint64_t b = 0) { return mix(mix(mix(seed) ^ a) ^ b); }

double roundCents(double value) { return std::round(value * 100.0) / 100.0; }

std::vector<DemoWorker> simulateWorkers(unsigned long seed, const std::string& account, long long now) {
  const int count = 2 + static_cast<int>(noise(seed, 1) % 4);
  const long long step = now / kHashrateStepSeconds;
  std::vector<DemoWorker> workers;
  for (int i = 0; i < count; ++i) {
    DemoWorker worker;
    worker.id = 100 + i;
    worker.username = account;
    worker.username.append(".").append(kWorkerNames[(noise(seed, 2) + i) % std::size(kWorkerNames)]);
    const double base = 20.0 + static_cast<double>(noise(seed, 3, i) % 20000) / 100.0;
    const double wander = 0.8 + 0.4 * static_cast<double>(noise(seed, 4 + i, step) % 1000) / 1000.0;
    const bool idle = noise(seed, 5, i) % 5 == 0;  // an idle worker reports 0
    worker.hashrate = idle ? 0.0 : roundCents(base * wander);
    worker.difficulty = idle ? 0 : 16;
    worker.shares = idle ? 0.0 : std::floor(worker.hashrate * 3.0);
    workers.push_back(worker);
  }
  return workers;
}

std::string blockHash(unsigned long seed, long long block) {
  char hex[65];
  for (int part = 0; part < 4; ++part) {
    std::snprintf(hex + part * 16, 17, "%016llx",
                  static_cast<unsigned long long>(noise(seed, 6 + part, block)));
  }
  return hex;
}

long long creditUnits(unsigned long seed, long long block) {
  return 50000000 + static_cast<long long>(noise(seed, 10, block) % 100000000);
}

long long netUnits(unsigned long seed, long long block) {
  const long long credit = creditUnits(seed, block);
  return credit - credit / 100 - credit / 200;
}

// Every transaction up to now, oldest first; the balance is what they leave.
struct Ledger {
  std::vector<DemoTransaction> rows;
  long long confirmed = 0;
  long long unconfirmed = 0;

  void add(std::string type, long long units, long long time, int confirmations, const std::string& hash) {
    rows.push_back({static_cast<long long>(rows.size()) + 1, std::move(type), units, time, confirmations, hash});
  }
};

// Block n's credit, fee and donation, all in one second; newest is the latest block found.
void addBlock(Ledger& ledger, unsigned long seed, long long block, long long time, long long newest) {
  const long long credit = creditUnits(seed, block);
  const int confirmations = static_cast<int>(newest - block) * kConfirmationsPerBlock;
  const std::string hash = blockHash(seed, block);
  ledger.add("Credit", credit, time, confirmations, hash);
  ledger.add("Fee", credit / 100, time, confirmations, hash);
  ledger.add("Donation", credit / 200, time, confirmations, hash);
}

// The payout job: the whole confirmed balance leaves, the fee first taken from it, both in one second.
void payOut(Ledger& ledger, long long time) {
  if (ledger.confirmed < kPayoutThresholdUnits) return;
  ledger.add("Debit_AP", ledger.confirmed - kPayoutFeeUnits, time, 0, "");
  ledger.add("TXFee", kPayoutFeeUnits, time, 0, "");
  ledger.confirmed = 0;
}

Ledger simulateLedger(unsigned long seed, long long firstBlockTime, long long now) {
  Ledger ledger;
  const long long newest = std::max(0LL, (now - firstBlockTime) / kBlockIntervalSeconds);
  for (long long block = 0; block <= newest; ++block) {
    const long long time = firstBlockTime + block * kBlockIntervalSeconds;
    addBlock(ledger, seed, block, time, newest);
    if (block >= kUnconfirmedBlocks) ledger.confirmed += netUnits(seed, block - kUnconfirmedBlocks);
    if (time + kPayoutDelaySeconds <= now) payOut(ledger, time + kPayoutDelaySeconds);
  }
  for (long long block = std::max(0LL, newest - kUnconfirmedBlocks + 1); block <= newest; ++block) {
    ledger.unconfirmed += netUnits(seed, block);
  }
  return ledger;
}

}  // namespace

DemoFigures simulateFigures(unsigned long seed, const std::string& account, int historyBlocks, long long startTime,
                            long long now, long long clockBackSeconds) {
  DemoFigures figures;
  figures.workers = simulateWorkers(seed, account, now);
  const Ledger ledger = simulateLedger(seed, startTime - historyBlocks * kBlockIntervalSeconds, now);
  figures.transactions.assign(ledger.rows.rbegin(), ledger.rows.rend());
  for (auto& row : figures.transactions) {
    if (row.time >= startTime) row.time -= clockBackSeconds;
  }
  figures.confirmedUnits = ledger.confirmed;
  figures.unconfirmedUnits = ledger.unconfirmed;
  return figures;
}

}  // namespace orelog::demo
