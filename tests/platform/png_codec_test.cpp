// PNG decoding of every colour type, the round trip through a file, and the failures.
#include "png_codec.h"

#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/support/read_file.h"
#include "tests/support/temp_folder.h"
#include "ui/canvas.h"

namespace orelog {
namespace {

using test::readFileBytes;
using test::TempFolder;

// A PNG in the given libpng format, made by libpng itself.
std::vector<uint8_t> encodeWithLibpng(uint32_t format, int width, int height, const void* pixels,
                                      const void* colormap = nullptr, int colormapEntries = 0) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = format;
  image.colormap_entries = static_cast<png_uint_32>(colormapEntries);
  png_alloc_size_t size = 0;
  if (!png_image_write_get_memory_size(image, size, 0, pixels, 0, colormap)) return {};
  std::vector<uint8_t> bytes(size);
  if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels, 0, colormap)) return {};
  bytes.resize(size);
  return bytes;
}

Image patternImage(int width, int height) {
  Image image{width, height, std::vector<Pixel>(static_cast<std::size_t>(width) * height)};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.pixels[y * width + x] = rgb(static_cast<uint8_t>(x * 7), static_cast<uint8_t>(y * 11),
                                        static_cast<uint8_t>(x ^ y));
  return image;
}

TEST(PngCodec, AnImageRoundTripsThroughAFile) {
  TempFolder folder;
  const Image original = patternImage(37, 23);
  const std::string path = folder.file("picture.png");

  ASSERT_TRUE(writePngFile(original, path));
  const std::optional<Image> decoded = decodePngBytes(readFileBytes(path));

  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(decoded->width, 37);
  EXPECT_EQ(decoded->height, 23);
  EXPECT_EQ(decoded->pixels, original.pixels);
}

TEST(PngCodec, AWrappedCanvasIsWrittenWithoutItsRowPadding) {
  TempFolder folder;
  constexpr int kWidth = 5, kHeight = 3, kStride = 8;
  std::vector<Pixel> memory(kStride * kHeight, rgb(9, 9, 9));
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) memory[y * kStride + x] = rgb(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 200);
  const std::string path = folder.file("canvas.png");

  ASSERT_TRUE(writePngFile(wrapCanvas(memory.data(), kWidth, kHeight, kStride), path));
  const std::optional<Image> decoded = decodePngBytes(readFileBytes(path));

  ASSERT_TRUE(decoded.has_value());
  ASSERT_EQ(decoded->width, kWidth);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      EXPECT_EQ(decoded->at(x, y), rgb(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 200));
}

TEST(PngCodec, WritingIntoAMissingFolderFailsAndLeavesNoFile) {
  TempFolder folder;
  const std::string path = folder.file("missing/picture.png");
  EXPECT_FALSE(writePngFile(makeCanvas(), path));
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_FALSE(writePngFile(Image{}, folder.file("empty.png")));
  EXPECT_TRUE(std::filesystem::is_empty(folder.path));
}

TEST(PngCodec, AFolderInTheWayIsNotReplacedAndNoPartialFileStays) {
  TempFolder folder;
  const std::string path = folder.file("taken.png");
  std::filesystem::create_directory(path);
  EXPECT_FALSE(writePngFile(makeCanvas(), path));
  EXPECT_TRUE(std::filesystem::is_directory(path));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path), std::filesystem::directory_iterator()), 1);
}

TEST(PngCodec, AFailedWriteKeepsTheFileThatWasThere) {
  TempFolder folder;
  const std::string path = folder.file("keep.png");
  ASSERT_TRUE(writePngFile(patternImage(4, 4), path));
  const std::vector<uint8_t> before = readFileBytes(path);
  EXPECT_FALSE(writePngFile(Image{3, 3, {}}, path));  // holds no pixels
  EXPECT_EQ(readFileBytes(path), before);
}

TEST(PngCodec, EveryColourTypeDecodesToOpaqueRgb) {
  const uint8_t grey[] = {0, 128, 255, 64};
  const uint8_t rgba[] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 0, 10, 20, 30, 255};
  const uint16_t linear[] = {65535, 0, 0, 0, 65535, 0, 0, 0, 65535, 65535, 65535, 65535};
  const uint8_t indexes[] = {0, 1, 1, 0};
  const uint8_t palette[] = {200, 100, 50, 5, 6, 7};
  struct Case {
    const char* name;
    std::vector<uint8_t> png;
    std::vector<Pixel> expected;
  } cases[] = {
      {"grey", encodeWithLibpng(PNG_FORMAT_GRAY, 2, 2, grey),
       {rgb(0, 0, 0), rgb(128, 128, 128), rgb(255, 255, 255), rgb(64, 64, 64)}},
      {"rgba onto white", encodeWithLibpng(PNG_FORMAT_RGBA, 2, 2, rgba),
       {rgb(255, 0, 0), rgb(0, 255, 0), rgb(255, 255, 255), rgb(10, 20, 30)}},
      {"16-bit", encodeWithLibpng(PNG_FORMAT_LINEAR_RGB, 2, 2, linear),
       {rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255), rgb(255, 255, 255)}},
      {"palette", encodeWithLibpng(PNG_FORMAT_RGB_COLORMAP, 2, 2, indexes, palette, 2),
       {rgb(200, 100, 50), rgb(5, 6, 7), rgb(5, 6, 7), rgb(200, 100, 50)}},
  };
  for (const Case& c : cases) {
    ASSERT_FALSE(c.png.empty()) << c.name;
    const std::optional<Image> decoded = decodePngBytes(c.png);
    ASSERT_TRUE(decoded.has_value()) << c.name;
    EXPECT_EQ(decoded->pixels, c.expected) << c.name;
  }
}

TEST(PngCodec, DamagedDataIsRefused) {
  TempFolder folder;
  ASSERT_TRUE(writePngFile(patternImage(40, 40), folder.file("good.png")));
  const std::vector<uint8_t> good = readFileBytes(folder.file("good.png"));
  std::vector<uint8_t> truncated(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2));
  std::vector<uint8_t> corrupted = good;
  for (std::size_t i = 60; i < corrupted.size() - 20; i += 7) corrupted[i] ^= 0x5a;
  const std::vector<uint8_t> garbage = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g', 0, 1, 2, 3};
  const std::vector<uint8_t> signatureOnly(good.begin(), good.begin() + 8);

  for (const auto& bytes : {truncated, corrupted, garbage, signatureOnly, std::vector<uint8_t>{}})
    EXPECT_FALSE(decodePngBytes(bytes).has_value()) << bytes.size() << " bytes";
}

}  // namespace
}  // namespace orelog
