// Text on the canvas through GDI in the page face, 10, 13 and 16 pixel cells.
#pragma once
#include <windows.h>

#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "dib_surface.h"
#include "services/platform.h"

namespace orelog {

class GdiTextRenderer : public TextRenderer {
 public:
  GdiTextRenderer();
  ~GdiTextRenderer() override;
  GdiTextRenderer(const GdiTextRenderer&) = delete;
  GdiTextRenderer& operator=(const GdiTextRenderer&) = delete;

  // Text for a canvas over this surface's memory is drawn straight into it; any other canvas
  // goes through a scratch surface.
  void drawInto(const DibSurface* surface) { direct_ = surface; }

  void drawText(Canvas& canvas, std::u16string_view text, int x, int y, FontSize font, TextAlign align,
                Pixel colour) override;
  int textWidth(std::u16string_view text, FontSize font) override;
  bool hasGlyph(char32_t codePoint, FontSize font) override;

 private:
  HFONT fontFor(FontSize font) const;
  HDC surfaceFor(Canvas& canvas);

  HFONT small_ = nullptr;
  HFONT medium_ = nullptr;
  HFONT large_ = nullptr;
  HDC measuring_ = nullptr;  // a memory DC of the screen's kind, made at the first measurement
  const DibSurface* direct_ = nullptr;
  std::unique_ptr<DibSurface> scratch_;
};

// A font of the face with the given cell height (not character height), otherwise all defaults.
HFONT createCellFont(const wchar_t* face, int cellHeight);

// The first of the faces that this Windows has installed; the first of all when it has none.
std::wstring installedFace(std::span<const std::u16string_view> faces);

}  // namespace orelog
