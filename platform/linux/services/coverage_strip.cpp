// A rasterised text's coverage kept with its inked stretches, the rim an outline leaves around it,
// and their blend onto the canvas.
#include "coverage_strip.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <utility>

namespace orelog {

namespace {

// The eight one-pixel steps of an outline, in the order the plain nine draws take them.
constexpr std::array<std::pair<int, int>, 8> kOutlineSteps = {
    {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}}};

// A group of pixels (or of their coverage words) as bytes, the same widened to one 16-bit lane per
// byte, and as words. Every sum of the blend fits in 16 bits, so a group is blended in the CPU's
// vector unit in one go (the compiler's generic vectors, portable to any target).
using GroupBytes = uint8_t __attribute__((vector_size(4 * kBlendGroup)));
using GroupLanes = uint16_t __attribute__((vector_size(8 * kBlendGroup)));
using GroupWords = uint32_t __attribute__((vector_size(4 * kBlendGroup)));
constexpr uint32_t kEveryByte = 0x01010101;  // times a byte: the byte in all four bytes of a word

constexpr uint32_t kRedBlue = 0x00ff00ff;
constexpr uint32_t kGreen = 0x0000ff00;

// (colour * a + under * (255 - a) + 127) / 255 per channel, exactly, red and blue side by side in
// one word. That quotient is the sum s divided by 255 and rounded (s / 255 never ends in a half),
// which is (t + (t >> 8)) >> 8 for t = s + 128; t stays below 65536 with its shifted part added, so
// no channel carries into the next.
Pixel blendPixel(Pixel colour, Pixel under, uint32_t alpha) {
  const uint32_t rest = kFullCoverage - alpha;
  const uint32_t redBlue = (colour & kRedBlue) * alpha + (under & kRedBlue) * rest + 0x00800080;
  const uint32_t green = (colour & kGreen) * alpha + (under & kGreen) * rest + 0x008000;
  const uint32_t redBlueOut = ((redBlue + ((redBlue >> 8) & kRedBlue)) >> 8) & kRedBlue;
  const uint32_t greenOut = ((green + ((green >> 8) & kGreen)) >> 8) & kGreen;
  return redBlueOut | greenOut;
}

GroupBytes groupAt(const void* words) {
  GroupBytes bytes;
  std::memcpy(&bytes, words, sizeof bytes);
  return bytes;
}

// The same blend for a group of pixels, each channel in its own lane. under * 255 + (colour -
// under) * a + 128 is t computed modulo 2^16, which is t itself as it fits.
void blendGroup(Pixel* pixels, const uint32_t* coverage, const GroupLanes& colour) {
  const GroupLanes under = __builtin_convertvector(groupAt(pixels), GroupLanes);
  const GroupLanes a = __builtin_convertvector(groupAt(coverage), GroupLanes);
  GroupLanes sum = (under << 8) - under + (colour - under) * a + 128;
  sum = (sum + (sum >> 8)) >> 8;
  const GroupBytes blended = __builtin_convertvector(sum, GroupBytes);
  std::memcpy(pixels, &blended, sizeof blended);
}

void blendSpan(Pixel* pixels, const uint32_t* coverage, int count, const GroupLanes& colourLanes,
               Pixel colour) {
  int i = 0;
  for (; i + kBlendGroup <= count; i += kBlendGroup) blendGroup(pixels + i, coverage + i, colourLanes);
  // Only a stretch cut by the canvas's edge leaves a part group.
  for (; i < count; ++i) pixels[i] = blendPixel(colour, pixels[i], coverage[i] & 0xff);
}

int coverageAt(const CoverageStrip& strip, int x, int y) {
  if (x < 0 || y < 0 || x >= strip.width || y >= strip.height) return 0;
  return static_cast<int>(strip.coverage[static_cast<std::size_t>(y) * strip.stride + x] & 0xff);
}

bool groupHasInk(const uint32_t* group) {
  return std::any_of(group, group + kBlendGroup, [](uint32_t a) { return a != 0; });
}

void findInkedStretches(CoverageStrip& strip, const uint32_t* row) {
  for (int x = 0; x < strip.stride;) {
    if (!groupHasInk(row + x)) {
      x += kBlendGroup;
      continue;
    }
    const int from = x;
    while (x < strip.stride && groupHasInk(row + x)) x += kBlendGroup;
    strip.stretches.push_back({from, x});
  }
}

// How much of the picture under a rim pixel the eight one-pixel-off draws leave showing, rounded
// after each draw as the blends are.
int rimCoverageAt(const CoverageStrip& strip, int x, int y) {
  if (coverageAt(strip, x, y) == kFullCoverage) return 0;
  int showing = kFullCoverage;
  for (const auto& [dx, dy] : kOutlineSteps) {
    const int alpha = coverageAt(strip, x - dx, y - dy);
    showing = (showing * (kFullCoverage - alpha) + kFullCoverage / 2) / kFullCoverage;
  }
  return kFullCoverage - showing;
}

}  // namespace

CoverageStrip makeCoverageStrip(int offsetX, int offsetY, int width, int height,
                                const std::vector<uint8_t>& coverage) {
  CoverageStrip strip;
  strip.offsetX = offsetX;
  strip.offsetY = offsetY;
  strip.width = width;
  strip.height = height;
  strip.stride = (width + kBlendGroup - 1) / kBlendGroup * kBlendGroup;
  strip.coverage.resize(static_cast<std::size_t>(strip.stride) * height);
  strip.rowStarts.reserve(static_cast<std::size_t>(height) + 1);
  for (int y = 0; y < height; ++y) {
    uint32_t* row = strip.coverage.data() + static_cast<std::size_t>(y) * strip.stride;
    const uint8_t* from = coverage.data() + static_cast<std::size_t>(y) * width;
    std::transform(from, from + width, row, [](uint8_t a) { return a * kEveryByte; });
    strip.rowStarts.push_back(static_cast<int32_t>(strip.stretches.size()));
    findInkedStretches(strip, row);
  }
  strip.rowStarts.push_back(static_cast<int32_t>(strip.stretches.size()));
  return strip;
}

std::size_t CoverageStrip::bytes() const {
  return coverage.size() * sizeof coverage[0] + stretches.size() * sizeof stretches[0] +
         rowStarts.size() * sizeof rowStarts[0];
}

CoverageStrip outlineRim(const CoverageStrip& strip) {
  if (strip.width == 0 || strip.height == 0) return makeCoverageStrip(0, 0, 0, 0, {});
  // The rim reaches one pixel beyond the strip on every side.
  const int width = strip.width + 2, height = strip.height + 2;
  std::vector<uint8_t> rim(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      rim[static_cast<std::size_t>(y) * width + x] = static_cast<uint8_t>(rimCoverageAt(strip, x - 1, y - 1));
  return makeCoverageStrip(strip.offsetX - 1, strip.offsetY - 1, width, height, rim);
}

void blendStrip(Canvas& canvas, const CoverageStrip& strip, int x, int y, Pixel colour) {
  const int left = x + strip.offsetX, top = y + strip.offsetY;
  const int firstRow = std::max(0, -top), endRow = std::min(strip.height, canvas.height - top);
  // The strip's columns that lie on the canvas.
  const int firstColumn = std::max(0, -left), endColumn = canvas.width - left;
  const GroupWords colours = GroupWords{} + colour;
  const GroupLanes lanes = __builtin_convertvector(groupAt(&colours), GroupLanes);
  for (int row = firstRow; row < endRow; ++row) {
    Pixel* canvasRow = canvas.pixels + static_cast<std::ptrdiff_t>(top + row) * canvas.stride;
    const uint32_t* coverageRow = strip.coverage.data() + static_cast<std::size_t>(row) * strip.stride;
    for (int32_t i = strip.rowStarts[row]; i < strip.rowStarts[row + 1]; ++i) {
      const int from = std::max(strip.stretches[i].from, firstColumn);
      const int to = std::min(strip.stretches[i].to, endColumn);
      if (from < to) blendSpan(canvasRow + left + from, coverageRow + from, to - from, lanes, colour);
    }
  }
}

}  // namespace orelog
