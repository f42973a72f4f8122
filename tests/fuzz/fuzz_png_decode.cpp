// Fuzzing PNG decoding and the sprite sheets built from it: any bytes decode or are refused.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "services/png_codec.h"
#include "ui/sheet_decoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  const auto image = orelog::decodePngBytes(bytes);
  if (image && (image->width <= 0 || image->height <= 0 ||
                image->pixels.size() != static_cast<std::size_t>(image->width) * image->height)) {
    abort();
  }
  orelog::decodeSheets(bytes, bytes, orelog::decodePngBytes);
  return 0;
}
