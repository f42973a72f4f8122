// Filling, copying and combining spans of pixels, the innermost loops of all drawing.
#pragma once
#include <cstddef>
#include <cstring>

#include "ui/canvas.h"

namespace orelog {

// Spans are mostly a few dozen pixels, too short to pay for a library call, and plain loops are
// not vectorised at -O2: where the compiler offers vector types they are handled four pixels at a
// time, a last block overlapping the one before instead of a loop over the remainder.
#if defined(__GNUC__)
using PixelQuad = Pixel __attribute__((vector_size(4 * sizeof(Pixel))));
using PixelPair = Pixel __attribute__((vector_size(2 * sizeof(Pixel))));
#endif

// Copies `length` pixels between spans that do not overlap.
inline void copyPixels(Pixel* dest, const Pixel* source, int length) {
  constexpr int kLongSpan = 64;
  if (length >= kLongSpan) {
    std::memcpy(dest, source, static_cast<std::size_t>(length) * sizeof(Pixel));
    return;
  }
#if defined(__GNUC__)
  const auto copy = [dest, source](auto block, int at) {
    std::memcpy(&block, source + at, sizeof block);
    std::memcpy(dest + at, &block, sizeof block);
  };
  if (length >= 4) {
    for (int i = 0; i < length - 4; i += 4) copy(PixelQuad{}, i);
    copy(PixelQuad{}, length - 4);
  } else if (length >= 2) {
    copy(PixelPair{}, 0);
    copy(PixelPair{}, length - 2);
  } else if (length == 1) {
    dest[0] = source[0];
  }
#else
  std::memcpy(dest, source, static_cast<std::size_t>(length) * sizeof(Pixel));
#endif
}

// Sets `length` pixels (none when `length` is not positive) to `colour`.
inline void fillPixels(Pixel* dest, Pixel colour, int length) {
  int i = 0;
#if defined(__GNUC__)
  const PixelQuad quad = {colour, colour, colour, colour};
  for (; i + 4 <= length; i += 4) std::memcpy(dest + i, &quad, sizeof quad);
#endif
  for (; i < length; ++i) dest[i] = colour;
}

// (dest OR mask) AND colour, pixel by pixel.
inline void combineRow(Pixel* dest, const Pixel* mask, const Pixel* colour, int length) {
  int i = 0;
#if defined(__GNUC__)
  for (; i + 4 <= length; i += 4) {
    PixelQuad d, m, c;
    std::memcpy(&d, dest + i, sizeof d);
    std::memcpy(&m, mask + i, sizeof m);
    std::memcpy(&c, colour + i, sizeof c);
    d = (d | m) & c;
    std::memcpy(dest + i, &d, sizeof d);
  }
#endif
  for (; i < length; ++i) dest[i] = (dest[i] | mask[i]) & colour[i];
}

}  // namespace orelog
