// Fuzzing the transactions answer with its timestamp scan: any body is read or refused; a refused
// one leaves payout and newest time alone, a read one keeps the payout finite and the time no older.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "pool/pool_queries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  constexpr double kOldPayout = 3.25;
  constexpr int64_t kOldNewest = 130939632000000000;  // 2015-12-05 in 100 ns steps from 1601
  orelog::PoolFigures figures;
  figures.payout = kOldPayout;
  figures.lastTimestamp = kOldNewest;
  const bool read = orelog::readTransactionsAnswer({reinterpret_cast<const char*>(data), size}, figures);
  if (read && (!std::isfinite(figures.payout) || figures.lastTimestamp < kOldNewest)) abort();
  if (!read && (figures.payout != kOldPayout || figures.lastTimestamp != kOldNewest)) abort();
  return 0;
}
