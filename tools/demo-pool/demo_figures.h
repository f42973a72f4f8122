// The simulated pool account: workers whose hashrates wander, a block credited every few minutes, and
// an automatic payout whenever the confirmed balance reaches the threshold.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace orelog::demo {

inline constexpr long long kBlockIntervalSeconds = 240;
inline constexpr std::size_t kMaxTransactionRows = 100;  // MPOS's default and largest page of transactions

struct DemoWorker {
  int id = 0;
  std::string username;  // "<account>.<worker>"
  const char* password = "x";
  double hashrate = 0;  // KH/s with two decimals
  double shares = 0;
  int difficulty = 0;
};

struct DemoTransaction {
  long long id = 0;
  std::string type;           // "Credit", "Fee", "Donation", "Debit_AP" or "TXFee"
  long long amountUnits = 0;  // 1e-8 coin
  long long time = 0;         // Unix seconds, UTC
  int confirmations = 0;
  std::string blockhash;      // empty for a payout and its fee, which belong to no block
};

// The balance and the transactions always agree, as MPOS's do: a credit, less its fee and donation,
// is unconfirmed until two more blocks are found, then confirmed; a payout takes the whole confirmed
// balance, less its transaction fee, and the fee itself.
struct DemoFigures {
  std::vector<DemoWorker> workers;
  long long confirmedUnits = 0;
  long long unconfirmedUnits = 0;
  std::vector<DemoTransaction> transactions;  // every one, newest first by id; the answers page them
};

// Everything follows from the seed and the pool time, so two calls at the same time agree.
// historyBlocks blocks were found before startTime, one every kBlockIntervalSeconds. The pool's
// wall clock was set back by clockBackSeconds at startTime (a corrected clock, the end of daylight
// saving): the rows written since carry times that much earlier, their ids still growing.
DemoFigures simulateFigures(unsigned long seed, const std::string& account, int historyBlocks, long long startTime,
                            long long now, long long clockBackSeconds = 0);

}  // namespace orelog::demo
