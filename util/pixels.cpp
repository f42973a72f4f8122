// Making canvases over owned or borrowed memory, and copying them safely.
#include "util/pixels.h"

#include <algorithm>
#include <cassert>
#include <utility>

namespace orelog {

namespace {

std::size_t pixelCount(int width, int height) {
  return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

// Points the canvas at its own storage when it has any (a vector's buffer moves with it).
void bindStorage(Canvas& canvas) {
  if (!canvas.storage.empty()) canvas.pixels = canvas.storage.data();
}

}  // namespace

Canvas::Canvas(const Canvas& other) : width(other.width), height(other.height), stride(other.width) {
  storage.reserve(pixelCount(width, height));
  for (int y = 0; y < height; ++y) {
    const Pixel* row = other.pixels + static_cast<std::ptrdiff_t>(y) * other.stride;
    storage.insert(storage.end(), row, row + width);
  }
  pixels = storage.empty() ? nullptr : storage.data();
}

Canvas& Canvas::operator=(const Canvas& other) {
  if (this != &other) *this = Canvas(other);
  return *this;
}

Canvas::Canvas(Canvas&& other) noexcept
    : width(std::exchange(other.width, 0)),
      height(std::exchange(other.height, 0)),
      stride(std::exchange(other.stride, 0)),
      pixels(std::exchange(other.pixels, nullptr)),
      storage(std::move(other.storage)) {
  other.storage.clear();
}

Canvas& Canvas::operator=(Canvas&& other) noexcept {
  if (this == &other) return *this;
  width = std::exchange(other.width, 0);
  height = std::exchange(other.height, 0);
  stride = std::exchange(other.stride, 0);
  pixels = std::exchange(other.pixels, nullptr);
  storage = std::move(other.storage);
  other.storage.clear();
  return *this;
}

Canvas makeCanvas(int width, int height) {
  assert(width >= 0 && height >= 0 && "a canvas has no negative size");
  Canvas canvas;
  canvas.width = std::max(width, 0);
  canvas.height = std::max(height, 0);
  canvas.stride = canvas.width;
  canvas.storage.assign(pixelCount(canvas.width, canvas.height), rgb(0, 0, 0));
  bindStorage(canvas);
  return canvas;
}

Canvas wrapCanvas(Pixel* memory, int width, int height, int stride) {
  assert(memory != nullptr && width >= 0 && height >= 0 && stride >= width &&
         "the front end supplies memory for the whole canvas");
  Canvas canvas;
  canvas.width = width;
  canvas.height = height;
  canvas.stride = stride;
  canvas.pixels = memory;
  return canvas;
}

}  // namespace orelog
