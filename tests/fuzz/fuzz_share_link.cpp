// Fuzzing the share link: any name a record can hold and any figures give a link within its buffer.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "share/share_link.h"

namespace {

constexpr std::size_t kLinkMaxBytes = 1023;

// The next sizeof(Value) bytes as a Value (fewer at the end of the input, the rest zero).
template <typename Value>
Value take(const uint8_t*& data, std::size_t& size) {
  Value value{};
  const std::size_t count = size < sizeof value ? size : sizeof value;
  std::memcpy(&value, data, count);
  data += count;
  size -= count;
  return value;
}

// Any double but NaN, which no pool answer carries.
double takeHashrate(const uint8_t*& data, std::size_t& size) {
  const double value = take<double>(data, size);
  return std::isnan(value) ? 0.0 : value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  orelog::PlayerRecord record;
  record.level = take<int32_t>(data, size);
  record.points = take<int32_t>(data, size);
  record.workers = {{"a.rig", takeHashrate(data, size)}};
  // The rest in pairs as UTF-16 units, lone surrogates included, up to the name field's length.
  for (std::size_t i = 0; i + 1 < size && record.playerName.size() < orelog::kPlayerNameMaxUnits; i += 2) {
    record.playerName.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
  }
  // The link holds the message, shortened as it needs.
  const std::string link = orelog::shareLink(record);
  if (link.size() > kLinkMaxBytes) abort();
  return 0;
}
