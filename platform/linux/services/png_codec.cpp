// PNG decoding and encoding over libpng's simplified API, which keeps its longjmp inside libpng.
#include "png_codec.h"

#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace orelog {

namespace {

constexpr int kRgbBytes = 3;
// A larger picture is refused before anything is allocated; the sheets hold 1024 x 1024.
constexpr uint64_t kMaxDecodedPixels = uint64_t{1} << 24;
// Transparent pixels (the sheets have none) are composited onto white, the sheets' empty colour.
constexpr png_color kCompositeBackground{255, 255, 255};

struct ImageReader {
  png_image image{};
  ImageReader() { image.version = PNG_IMAGE_VERSION; }
  ~ImageReader() { png_image_free(&image); }  // harmless after a finished read
  ImageReader(const ImageReader&) = delete;
  ImageReader& operator=(const ImageReader&) = delete;
};

// Widens packed 8-bit RGB, decoded into the first three quarters of the pixels' own memory, to
// one Pixel each in place. Walking from the last pixel back, each write lands at or beyond the
// bytes it replaces, so no second full-size buffer is needed.
void widenRgbInPlace(std::vector<Pixel>& pixels) {
  auto* bytes = reinterpret_cast<const uint8_t*>(pixels.data());
  for (std::size_t i = pixels.size(); i-- > 0;) {
    const uint8_t* p = bytes + i * kRgbBytes;
    pixels[i] = rgb(p[0], p[1], p[2]);
  }
}

// Packs any pixel surface into 8-bit RGB rows.
template <typename PixelAt>
std::vector<uint8_t> rgbRows(int width, int height, PixelAt pixelAt) {
  std::vector<uint8_t> bytes;
  bytes.reserve(static_cast<std::size_t>(width) * height * kRgbBytes);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const Pixel p = pixelAt(x, y);
      bytes.insert(bytes.end(), {red(p), green(p), blue(p)});
    }
  return bytes;
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Writes to a fresh file next to the target, then renames it over the target, so a failed write
// never leaves a half-written picture under the chosen name.
bool writeRgbPng(int width, int height, const std::vector<uint8_t>& rgbBytes, const std::string& path) {
  if (width <= 0 || height <= 0 || path.empty()) return false;
  const std::string partial = path + "." + std::to_string(::getpid()) + ".part";
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(partial.c_str(), "wbx"));
  if (!file) return false;

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  bool written = png_image_write_to_stdio(&image, file.get(), 0, rgbBytes.data(), 0, nullptr) != 0;
  png_image_free(&image);
  written = std::fflush(file.get()) == 0 && written;
  written = std::fclose(file.release()) == 0 && written;
  if (written && std::rename(partial.c_str(), path.c_str()) == 0) return true;
  std::remove(partial.c_str());
  return false;
}

}  // namespace

std::optional<Image> decodePngBytes(std::span<const uint8_t> bytes) {
  if (bytes.empty()) return std::nullopt;
  ImageReader reader;
  if (!png_image_begin_read_from_memory(&reader.image, bytes.data(), bytes.size())) return std::nullopt;
  const uint64_t pixels = uint64_t{reader.image.width} * reader.image.height;
  if (pixels == 0 || pixels > kMaxDecodedPixels) return std::nullopt;

  reader.image.format = PNG_FORMAT_RGB;
  static_assert(sizeof(Pixel) > kRgbBytes, "packed RGB rows fit in the image's own pixels");
  Image result{static_cast<int>(reader.image.width), static_cast<int>(reader.image.height),
               std::vector<Pixel>(static_cast<std::size_t>(pixels))};
  if (!png_image_finish_read(&reader.image, &kCompositeBackground, result.pixels.data(), 0, nullptr))
    return std::nullopt;
  widenRgbInPlace(result.pixels);
  return result;
}

bool writePngFile(const Canvas& canvas, const std::string& path) {
  if (canvas.pixels == nullptr) return false;
  return writeRgbPng(canvas.width, canvas.height,
                     rgbRows(canvas.width, canvas.height, [&](int x, int y) { return canvas.at(x, y); }),
                     path);
}

bool writePngFile(const Image& image, const std::string& path) {
  if (image.width <= 0 || image.height <= 0 ||
      image.pixels.size() < static_cast<std::size_t>(image.width) * image.height)
    return false;
  return writeRgbPng(image.width, image.height,
                     rgbRows(image.width, image.height, [&](int x, int y) { return image.at(x, y); }), path);
}

}  // namespace orelog
