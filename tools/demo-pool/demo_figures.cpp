// Deterministic figures for the demo pool's account.
#include "demo_figures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace orelog::demo {
namespace {

constexpr const char* kWorkerNames[] = {"tama", "mike", "kuro", "shiro", "rig1", "rig2", "gpu0", "cpu"};
constexpr long long kHashrateStepSeconds = 30;  // hashrates change every half minute of pool time
constexpr long long kPayoutThresholdUnits = 500000000;  // confirmed balance is paid out at 5 coins
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

void appendBlock(std::vector<DemoTransaction>& rows, unsigned long seed, long long block, long long time,
                 int confirmations) {
  const long long credit = creditUnits(seed, block);
  const std::string hash = blockHash(seed, block);
  // Newest first by id: the block's donation, then its fee, then its credit, all at one time.
  rows.push_back({3 * block + 3, "Donation", credit / 200, time, confirmations, hash});
  rows.push_back({3 * block + 2, "Fee", credit / 100, time, confirmations, hash});
  rows.push_back({3 * block + 1, "Credit", credit, time, confirmations, hash});
}

long long netUnits(unsigned long seed, long long block) {
  const long long credit = creditUnits(seed, block);
  return credit - credit / 100 - credit / 200;
}

}  // namespace

DemoFigures simulateFigures(unsigned long seed, const std::string& account, int historyBlocks, long long startTime,
                            long long now) {
  DemoFigures figures;
  figures.workers = simulateWorkers(seed, account, now);
  const long long firstBlockTime = startTime - historyBlocks * kBlockIntervalSeconds;
  const long long newest = std::max(0LL, (now - firstBlockTime) / kBlockIntervalSeconds);
  for (long long block = newest; block >= 0 && figures.transactions.size() < kMaxTransactionRows; --block) {
    const int confirmations = static_cast<int>(newest - block) * kConfirmationsPerBlock;
    appendBlock(figures.transactions, seed, block, firstBlockTime + block * kBlockIntervalSeconds, confirmations);
  }
  figures.transactions.resize(std::min(figures.transactions.size(), kMaxTransactionRows));
  long long confirmed = 0;
  for (long long block = 0; block <= newest; ++block) {
    if (block > newest - kUnconfirmedBlocks) figures.unconfirmedUnits += creditUnits(seed, block);
    else confirmed += netUnits(seed, block);
  }
  figures.confirmedUnits = confirmed % kPayoutThresholdUnits;
  return figures;
}

}  // namespace orelog::demo
