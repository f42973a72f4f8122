// Writes and reads opaque 8-bit RGB PNG files with libpng.
#include "png_file.h"

#include <png.h>

#include <cstring>

namespace orelog::sheetgen {

namespace {

constexpr int kChannels = 3;

png_image imageHeader() {
  png_image header;
  std::memset(&header, 0, sizeof header);
  header.version = PNG_IMAGE_VERSION;
  return header;
}

}  // namespace

bool writeRgbPng(const std::string& path, const RgbImage& image) {
  if (image.rgb.size() != static_cast<std::size_t>(image.width) * image.height * kChannels) return false;
  png_image header = imageHeader();
  header.width = static_cast<png_uint_32>(image.width);
  header.height = static_cast<png_uint_32>(image.height);
  header.format = PNG_FORMAT_RGB;
  // libpng's simplified writer stores no time stamp, so equal pixels give equal files.
  const int written = png_image_write_to_file(&header, path.c_str(), 0, image.rgb.data(),
                                              image.width * kChannels, nullptr);
  png_image_free(&header);
  return written != 0;
}

std::optional<RgbImage> readRgbPng(const std::string& path) {
  png_image header = imageHeader();
  if (!png_image_begin_read_from_file(&header, path.c_str())) return std::nullopt;
  header.format = PNG_FORMAT_RGB;
  RgbImage image;
  image.width = static_cast<int>(header.width);
  image.height = static_cast<int>(header.height);
  image.rgb.resize(PNG_IMAGE_SIZE(header));
  // Drawn over black so that transparent pixels in foreign files do not turn into guesses.
  png_color black{0, 0, 0};
  if (!png_image_finish_read(&header, &black, image.rgb.data(), 0, nullptr)) {
    png_image_free(&header);
    return std::nullopt;
  }
  return image;
}

}  // namespace orelog::sheetgen
