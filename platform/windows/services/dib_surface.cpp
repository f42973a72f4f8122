// A 32-bit top-down DIB section selected into a memory DC.
#include "dib_surface.h"

namespace orelog {

std::unique_ptr<DibSurface> DibSurface::create(int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  std::unique_ptr<DibSurface> surface(new DibSurface);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // negative: the first row is the top one, as the canvas's
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  surface->bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (surface->bitmap_ == nullptr || bits == nullptr) return nullptr;
  surface->dc_ = CreateCompatibleDC(nullptr);
  if (surface->dc_ == nullptr) return nullptr;
  surface->previous_ = SelectObject(surface->dc_, surface->bitmap_);
  surface->pixels_ = static_cast<Pixel*>(bits);
  surface->width_ = width;
  surface->height_ = height;
  return surface;
}

DibSurface::~DibSurface() {
  if (dc_ != nullptr) {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
  }
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
}

}  // namespace orelog
