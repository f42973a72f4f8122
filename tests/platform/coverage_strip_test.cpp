// The text strips' fast blend against the plain per-pixel rule, clipped at every edge of the canvas,
// and the outline's rim against the eight one-pixel-off draws it stands for.
#include "coverage_strip.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "tests/support/canvas_compare.h"

namespace orelog {
namespace {

using testing::firstDifference;
using testing::noiseCanvas;

// Glyph-like coverage: empty margins and gaps, runs of full ink, soft edges.
std::vector<uint8_t> glyphLikeCoverage(int width, int height, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> coverage(static_cast<std::size_t>(width) * height);
  for (uint8_t& a : coverage) {
    const uint32_t kind = random() % 8;
    a = kind < 4 ? 0 : kind < 6 ? kFullCoverage : static_cast<uint8_t>(1 + random() % 254);
  }
  return coverage;
}

Pixel plainBlend(Pixel colour, Pixel under, int alpha) {
  const auto channel = [&](int shift) {
    const int c = (colour >> shift) & 0xff, u = (under >> shift) & 0xff;
    return static_cast<Pixel>((c * alpha + u * (255 - alpha) + 127) / 255) << shift;
  };
  return channel(16) | channel(8) | channel(0);
}

// The rule one pixel at a time: every covered pixel of the strip that lies on the canvas.
void plainDraw(Canvas& canvas, const std::vector<uint8_t>& coverage, int width, int height, int left, int top,
               Pixel colour) {
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int alpha = coverage[static_cast<std::size_t>(y) * width + x];
      const int cx = left + x, cy = top + y;
      if (alpha == 0 || cx < 0 || cy < 0 || cx >= canvas.width || cy >= canvas.height) continue;
      canvas.at(cx, cy) = plainBlend(colour, canvas.at(cx, cy), alpha);
    }
}

TEST(CoverageStrip, EveryCoverageBlendsExactlyByTheRule) {
  std::vector<uint8_t> ramp(256);
  for (int a = 0; a < 256; ++a) ramp[a] = static_cast<uint8_t>(a);
  const CoverageStrip across = makeCoverageStrip(0, 0, 256, 1, ramp);
  const CoverageStrip down = makeCoverageStrip(0, 0, 1, 256, ramp);
  for (const Pixel colour : {rgb(255, 255, 255), rgb(0, 0, 0), rgb(12, 200, 77), rgb(255, 0, 128)})
    for (uint32_t seed : {1u, 2u}) {
      Canvas actual = noiseCanvas(seed), expected = noiseCanvas(seed);
      // Whole groups in the middle; at the right edge a cut group, and a column of single pixels.
      for (const int left : {10, kCanvasWidth - 255}) {
        blendStrip(actual, across, left, 20, colour);
        plainDraw(expected, ramp, 256, 1, left, 20, colour);
      }
      blendStrip(actual, down, kCanvasWidth - 1, 30, colour);
      plainDraw(expected, ramp, 1, 256, kCanvasWidth - 1, 30, colour);
      ASSERT_EQ(actual.storage, expected.storage)
          << std::hex << colour << ": " << firstDifference(actual, expected);
    }
}

TEST(CoverageStrip, AStripAcrossAnyEdgeDrawsExactlyItsPixelsOnTheCanvas) {
  constexpr int kWidth = 37, kHeight = 15;  // not a whole number of groups
  const std::vector<uint8_t> coverage = glyphLikeCoverage(kWidth, kHeight, 7);
  const CoverageStrip strip = makeCoverageStrip(3, -2, kWidth, kHeight, coverage);
  const struct {
    int x, y;
  } places[] = {{100, 100},
                {-3 - 20, 50},
                {-3 - 1, 50},
                {kCanvasWidth - 3 - 18, 60},
                {kCanvasWidth - 3 - 1, 60},
                {200, 2 - 9},
                {200, kCanvasHeight + 2 - 4},
                {-3 - 30, 2 - 14},
                {kCanvasWidth - 3 - 2, kCanvasHeight + 2 - 1},
                {-3 - kWidth, 100},
                {kCanvasWidth, 100},
                {-1 << 24, 1 << 24}};
  for (const auto& place : places) {
    Canvas actual = noiseCanvas(3), expected = noiseCanvas(3);
    blendStrip(actual, strip, place.x, place.y, rgb(250, 240, 10));
    plainDraw(expected, coverage, kWidth, kHeight, place.x + 3, place.y - 2, rgb(250, 240, 10));
    ASSERT_EQ(actual.storage, expected.storage)
        << "at " << place.x << ", " << place.y << ": " << firstDifference(actual, expected);
  }
}

// Each of the nine draws rounds every channel on its own, the rim and the text only twice, so a
// channel may stray by a unit, rarely two, where several partly covered neighbours meet.
constexpr int kRoundingOfNineBlends = 2;

// The rim and the text over it against the plain nine draws, over a busy picture and where the
// canvas cuts the text: each channel within the rounding of the eight blends.
TEST(CoverageStrip, TheRimAndTheTextLookAsTheNineDrawsDo) {
  constexpr int kWidth = 30, kHeight = 13;
  constexpr Pixel kText = rgb(255, 255, 255), kOutline = rgb(16, 24, 32);
  const std::vector<uint8_t> coverage = glyphLikeCoverage(kWidth, kHeight, 11);
  const CoverageStrip strip = makeCoverageStrip(1, 2, kWidth, kHeight, coverage);
  const CoverageStrip rim = outlineRim(strip);
  for (const auto& [x, y] :
       {std::pair{100, 100}, {-1, 40}, {-20, -8}, {kCanvasWidth - 12, kCanvasHeight - 3}}) {
    Canvas nine = noiseCanvas(5), two = noiseCanvas(5);
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        if (dx != 0 || dy != 0) blendStrip(nine, strip, x + dx, y + dy, kOutline);
    blendStrip(nine, strip, x, y, kText);
    blendStrip(two, rim, x, y, kOutline);
    blendStrip(two, strip, x, y, kText);
    int worst = 0;
    for (std::size_t i = 0; i < nine.storage.size(); ++i)
      for (int shift : {0, 8, 16})
        worst = std::max(worst, std::abs(static_cast<int>((nine.storage[i] >> shift) & 0xff) -
                                         static_cast<int>((two.storage[i] >> shift) & 0xff)));
    EXPECT_LE(worst, kRoundingOfNineBlends) << "at " << x << ", " << y;
  }
}

}  // namespace
}  // namespace orelog
