// Fuzzing the pool address: any text of up to a server field's length parses or is refused, and a
// parsed one holds a non-empty host and a port of 0 or more. The parser leaves ports past 65535 as
// written (the fetch refuses them), so only a negative one would be a fault.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <variant>

#include "pool/pool_address.h"
#include "profile/player_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  // The bytes in pairs as UTF-16 units, so that every unit value is reached; as long as the field.
  std::u16string url;
  for (std::size_t i = 0; i + 1 < size && url.size() < orelog::kServerUrlMaxUnits; i += 2) {
    url.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
  }
  const auto parsed = orelog::parsePoolUrl(url);
  if (const auto* address = std::get_if<orelog::PoolAddress>(&parsed)) {
    if (address->host.empty() || address->port < 0) abort();
    orelog::isLoopbackHost(address->host);
  }
  return 0;
}
