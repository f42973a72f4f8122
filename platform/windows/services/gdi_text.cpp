// Text on the canvas through GDI: TextOutW on a transparent background, anchored at the top.
#include "gdi_text.h"

#include <algorithm>

#include "ui/fonts.h"
#include "wide_text.h"

namespace orelog {

HFONT createCellFont(const wchar_t* face, int cellHeight) {
  // A positive height asks for the cell height, internal leading included.
  return CreateFontW(cellHeight, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                     face);
}

namespace {

int CALLBACK noteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;  // one font of the face is enough
}

// Asked by name, so a face the font mapper would quietly replace with another does not count.
bool faceInstalled(HDC screen, std::u16string_view face) {
  if (face.empty() || face.size() >= LF_FACESIZE) return false;
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  std::copy(face.begin(), face.end(), wanted.lfFaceName);
  bool found = false;
  EnumFontFamiliesExW(screen, &wanted, noteFace, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

}  // namespace

std::wstring installedFace(std::span<const std::u16string_view> faces) {
  HDC screen = GetDC(nullptr);
  const auto found = std::find_if(faces.begin(), faces.end(),
                                  [screen](std::u16string_view face) { return faceInstalled(screen, face); });
  ReleaseDC(nullptr, screen);
  if (found != faces.end()) return wideText(*found);
  return faces.empty() ? std::wstring() : wideText(faces.front());
}

GdiTextRenderer::GdiTextRenderer() {
  const std::wstring face = installedFace(kPageFontFaces);
  small_ = createCellFont(face.c_str(), static_cast<int>(FontSize::Small));
  medium_ = createCellFont(face.c_str(), static_cast<int>(FontSize::Medium));
  large_ = createCellFont(face.c_str(), static_cast<int>(FontSize::Large));
}

GdiTextRenderer::~GdiTextRenderer() {
  if (measuring_ != nullptr) DeleteDC(measuring_);
  for (HFONT font : {small_, medium_, large_}) {
    if (font != nullptr) DeleteObject(font);
  }
}

int GdiTextRenderer::textWidth(std::u16string_view text, FontSize font) {
  if (text.empty()) return 0;
  if (measuring_ == nullptr) measuring_ = CreateCompatibleDC(nullptr);
  if (measuring_ == nullptr) return 0;
  const HGDIOBJ previous = SelectObject(measuring_, fontFor(font));
  SIZE size{};
  const BOOL measured = GetTextExtentPoint32W(measuring_, reinterpret_cast<const wchar_t*>(text.data()),
                                              static_cast<int>(text.size()), &size);
  SelectObject(measuring_, previous);
  return measured ? static_cast<int>(size.cx) : 0;
}

// TextOutW draws a code point its font lacks as the font's default glyph, a box: only what the
// face has a glyph for is kept. A character beyond the first plane has no single glyph index to ask
// for, and is kept.
bool GdiTextRenderer::hasGlyph(char32_t codePoint, FontSize font) {
  if (codePoint >= 0x10000) return true;
  if (measuring_ == nullptr) measuring_ = CreateCompatibleDC(nullptr);
  if (measuring_ == nullptr) return true;
  const HGDIOBJ previous = SelectObject(measuring_, fontFor(font));
  const wchar_t unit = static_cast<wchar_t>(codePoint);
  WORD index = 0;
  const DWORD found = GetGlyphIndicesW(measuring_, &unit, 1, &index, GGI_MARK_NONEXISTING_GLYPHS);
  SelectObject(measuring_, previous);
  return found == GDI_ERROR || index != 0xFFFF;
}

HFONT GdiTextRenderer::fontFor(FontSize font) const {
  switch (font) {
    case FontSize::Medium:
      return medium_;
    case FontSize::Large:
      return large_;
    case FontSize::Small:
      break;
  }
  return small_;
}

// The DC that draws into the canvas: its own surface, or the scratch surface holding a copy of it.
HDC GdiTextRenderer::surfaceFor(Canvas& canvas) {
  if (direct_ != nullptr && canvas.pixels == direct_->pixels() && canvas.stride == direct_->width())
    return direct_->dc();
  if (!scratch_ || scratch_->width() != canvas.width || scratch_->height() != canvas.height)
    scratch_ = DibSurface::create(canvas.width, canvas.height);
  if (!scratch_) return nullptr;
  for (int y = 0; y < canvas.height; ++y)
    std::copy_n(&canvas.at(0, y), canvas.width,
                scratch_->pixels() + static_cast<std::ptrdiff_t>(y) * canvas.width);
  return scratch_->dc();
}

void GdiTextRenderer::drawText(Canvas& canvas, std::u16string_view text, int x, int y, FontSize font,
                               TextAlign align, Pixel colour) {
  if (canvas.pixels == nullptr || text.empty()) return;
  HDC dc = surfaceFor(canvas);
  if (dc == nullptr) return;
  const UINT horizontal = align == TextAlign::Centre  ? TA_CENTER
                          : align == TextAlign::Right ? TA_RIGHT
                                                      : TA_LEFT;
  const HGDIOBJ previous = SelectObject(dc, fontFor(font));
  SetTextAlign(dc, TA_TOP | horizontal);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(red(colour), green(colour), blue(colour)));
  TextOutW(dc, x, y, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()));
  GdiFlush();
  SelectObject(dc, previous);
  if (scratch_ && dc == scratch_->dc()) {
    for (int row = 0; row < canvas.height; ++row)
      std::copy_n(scratch_->pixels() + static_cast<std::ptrdiff_t>(row) * canvas.width, canvas.width,
                  &canvas.at(0, row));
  }
}

}  // namespace orelog
