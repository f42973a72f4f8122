// Fuzzing the balance answer: any body is read or refused; a refused one leaves the balance alone and
// a read one is finite.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "pool/pool_queries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  constexpr double kOldBalance = 12.5;
  orelog::PoolFigures figures;
  figures.balance = kOldBalance;
  const bool read = orelog::readBalanceAnswer({reinterpret_cast<const char*>(data), size}, figures);
  if (read ? !std::isfinite(figures.balance) : figures.balance != kOldBalance) abort();
  return 0;
}
