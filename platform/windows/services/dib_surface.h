// A 32-bit top-down DIB section in a memory DC: GDI draws into it and the core's canvas wraps its
// memory, so sprite copies and text land in the same pixels.
#pragma once
#include <windows.h>

#include <memory>

#include "ui/canvas.h"

namespace orelog {

class DibSurface {
 public:
  // nullptr when GDI cannot create the surface.
  static std::unique_ptr<DibSurface> create(int width, int height);
  ~DibSurface();
  DibSurface(const DibSurface&) = delete;
  DibSurface& operator=(const DibSurface&) = delete;

  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  Pixel* pixels() const { return pixels_; }
  // A canvas over this surface's memory; valid while the surface lives.
  Canvas canvas() const { return wrapCanvas(pixels_, width_, height_, width_); }

 private:
  DibSurface() = default;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  Pixel* pixels_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace orelog
