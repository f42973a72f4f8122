// The one buffer every pool answer is read into.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace orelog {

inline constexpr std::size_t kResponseBufferSize = 262144;  // the longest body that fits is one byte less

struct ResponseBuffer {
  std::unique_ptr<uint8_t[]> bytes = std::make_unique<uint8_t[]>(kResponseBufferSize);
  std::span<uint8_t> span() { return {bytes.get(), kResponseBufferSize}; }
};

}  // namespace orelog
