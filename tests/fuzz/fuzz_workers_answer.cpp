// Fuzzing the workers answer: any body is read or refused, and a read one sums its hashrates.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "pool/pool_queries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  orelog::PoolFigures figures;
  figures.workers.emplace("old.worker", 5);
  figures.totalHashrate = 5;
  const bool read = orelog::readWorkersAnswer({reinterpret_cast<const char*>(data), size}, figures);
  if (!read && figures.totalHashrate != 5) abort();  // a failed answer keeps the old total
  return 0;
}
