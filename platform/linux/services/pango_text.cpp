// Text on the canvas: each (text, font) is laid out by Pango once, rasterised by cairo into a
// coverage strip, and kept; every later draw blends the strip onto the canvas in the wanted colour.
// An outlined text also keeps the rim its outline leaves.
#include "pango_text.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "coverage_strip.h"
#include "ui/fonts.h"
#include "util/utf.h"

namespace orelog {

namespace {

// After the game's face come its metric-compatible stand-ins from fonts-ipafont-gothic.
constexpr const char* kStandInFamilies = ",IPAPGothic,IPAGothic";
constexpr std::array<FontSize, 3> kFontSizes = {FontSize::Small, FontSize::Medium, FontSize::Large};
// A font's cache is emptied when it grows past this many texts (changing numbers add new texts)
// or this much memory (each 1024-unit name a pool may send holds well over a megabyte at once).
constexpr std::size_t kMaxCachedTexts = 1024;
constexpr std::size_t kMaxCachedBytes = std::size_t{16} << 20;
constexpr Pixel kColourBits = 0x00ffffff;  // canvas pixels keep their top byte clear
constexpr int kProbeEmPixels = 1000;
// The share of the cell above the baseline in the Gothic faces, should a face report no metrics.
constexpr double kUsualAscentPerCell = 0.86;

// A text's rasterised coverage, its logical width for the alignment, and the rim of its outline
// once the text has been drawn outlined.
struct Strip {
  CoverageStrip ink;
  int logicalWidth = 0;
  std::optional<CoverageStrip> rim;
};

struct TextHash {
  using is_transparent = void;
  std::size_t operator()(std::u16string_view text) const { return std::hash<std::u16string_view>{}(text); }
};
// The texts of one font and the memory their strips hold.
struct StripCache {
  std::unordered_map<std::u16string, Strip, TextHash, std::equal_to<>> strips;
  std::size_t bytes = 0;
};

int fontIndex(FontSize font) {
  switch (font) {
    case FontSize::Small:
      return 0;
    case FontSize::Medium:
      return 1;
    case FontSize::Large:
      return 2;
  }
  return 0;
}

// Where a strip's anchor lies for text anchored at x with this alignment.
int alignedLeft(const Strip& strip, int x, TextAlign align) {
  switch (align) {
    case TextAlign::Left:
      return x;
    case TextAlign::Centre:
      return x - strip.logicalWidth / 2;
    case TextAlign::Right:
      return x - strip.logicalWidth;
  }
  return x;
}

}  // namespace

struct PangoTextRenderer::Impl {
  PangoFontMap* fontMap = nullptr;
  PangoContext* context = nullptr;
  PangoLayout* layout = nullptr;  // reused for every new text
  struct Font {
    PangoFontDescription* description = nullptr;
    int baseline = 0;  // pixels below the cell's top
  };
  std::array<Font, 3> fonts{};
  std::array<StripCache, 3> caches;
  std::array<std::unordered_map<char32_t, bool>, 3> glyphs;  // by code point: whether a face has it

  Impl();
  ~Impl();
  Strip& stripFor(std::u16string_view text, FontSize font);
  const CoverageStrip& rimFor(Strip& strip, FontSize font);
  Strip rasterise(std::u16string_view text, FontSize font);
  Font fontWithCellHeight(int cellHeight);
};

PangoTextRenderer::Impl::Impl() {
  fontMap = pango_cairo_font_map_new();
  context = pango_font_map_create_context(fontMap);
  cairo_font_options_t* options = cairo_font_options_create();
  // Full hinting snaps stems and the small kana marks to whole pixels: at a 10-pixel cell the
  // handakuten stays a ring with a lighter centre (a slightly hinted or monochrome one smears it
  // into a blob like the dakuten's dots), and the 13- and 16-pixel texts keep sharp stems. Glyphs
  // sit on whole pixels, as the game's bitmap-minded face does.
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_FULL);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  pango_context_set_round_glyph_positions(context, TRUE);
  pango_cairo_context_set_font_options(context, options);
  cairo_font_options_destroy(options);
  layout = pango_layout_new(context);
  pango_layout_set_single_paragraph_mode(layout, TRUE);
  for (FontSize size : kFontSizes) fonts[fontIndex(size)] = fontWithCellHeight(static_cast<int>(size));
}

PangoTextRenderer::Impl::~Impl() {
  for (const Font& font : fonts) pango_font_description_free(font.description);
  g_object_unref(layout);
  g_object_unref(context);
  g_object_unref(fontMap);
}

// A cell height is ascent + descent, as with a Windows font, and the cell's top is the text's top
// edge. Pango sizes by the em, so the face's proportions are measured once at a large size, where
// hinting rounds little, and each font gets the em that fills its cell and the baseline inside it.
PangoTextRenderer::Impl::Font PangoTextRenderer::Impl::fontWithCellHeight(int cellHeight) {
  const std::string families = utf16ToUtf8(kPageFontFace) + kStandInFamilies;
  PangoFontDescription* description = pango_font_description_from_string(families.c_str());
  pango_font_description_set_absolute_size(description, kProbeEmPixels * PANGO_SCALE);
  PangoFontMetrics* metrics = pango_context_get_metrics(context, description, nullptr);
  const double ascent = pango_font_metrics_get_ascent(metrics);
  const double cell = ascent + pango_font_metrics_get_descent(metrics);
  pango_font_metrics_unref(metrics);
  const double emPerCell = cell > 0 ? kProbeEmPixels * PANGO_SCALE / cell : 1.0;
  const double ascentPerCell = cell > 0 ? ascent / cell : kUsualAscentPerCell;
  pango_font_description_set_absolute_size(description, std::round(cellHeight * emPerCell * PANGO_SCALE));
  return {description, static_cast<int>(std::lround(cellHeight * ascentPerCell))};
}

Strip PangoTextRenderer::Impl::rasterise(std::u16string_view text, FontSize font) {
  const std::string utf8 = utf16ToUtf8(text);
  const Font& chosen = fonts[fontIndex(font)];
  pango_layout_set_font_description(layout, chosen.description);
  pango_layout_set_text(layout, utf8.data(), static_cast<int>(utf8.size()));
  PangoRectangle ink{}, logical{};
  pango_layout_get_pixel_extents(layout, &ink, &logical);

  Strip strip;
  strip.logicalWidth = logical.width;
  // The strip holds both the ink (glyphs may overhang) and the logical box.
  const int left = std::min(ink.x, logical.x), top = std::min(ink.y, logical.y);
  const int right = std::max(ink.x + ink.width, logical.x + logical.width);
  const int bottom = std::max(ink.y + ink.height, logical.y + logical.height);
  if (right <= left || bottom <= top) return strip;

  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, right - left, bottom - top);
  if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
    cairo_t* cr = cairo_create(surface);
    cairo_move_to(cr, -left, -top);
    pango_cairo_show_layout(cr, layout);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    // The layout's own baseline moves to the font's baseline inside the cell.
    const int offsetY = top - PANGO_PIXELS(pango_layout_get_baseline(layout)) + chosen.baseline;
    const int width = right - left, height = bottom - top;
    std::vector<uint8_t> coverage(static_cast<std::size_t>(width) * height);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y)
      std::copy_n(data + static_cast<std::ptrdiff_t>(y) * stride, width,
                  coverage.data() + static_cast<std::size_t>(y) * width);
    strip.ink = makeCoverageStrip(left, offsetY, width, height, coverage);
  }
  cairo_surface_destroy(surface);
  return strip;
}

Strip& PangoTextRenderer::Impl::stripFor(std::u16string_view text, FontSize font) {
  StripCache& cache = caches[fontIndex(font)];
  if (auto found = cache.strips.find(text); found != cache.strips.end()) return found->second;
  if (cache.strips.size() >= kMaxCachedTexts || cache.bytes >= kMaxCachedBytes) cache = {};
  Strip& strip = cache.strips.emplace(std::u16string(text), rasterise(text, font)).first->second;
  cache.bytes += strip.ink.bytes();
  return strip;
}

const CoverageStrip& PangoTextRenderer::Impl::rimFor(Strip& strip, FontSize font) {
  if (!strip.rim) {
    strip.rim = outlineRim(strip.ink);
    caches[fontIndex(font)].bytes += strip.rim->bytes();
  }
  return *strip.rim;
}

PangoTextRenderer::PangoTextRenderer() : impl_(std::make_unique<Impl>()) {}
PangoTextRenderer::~PangoTextRenderer() = default;

// Measured through the strip cache: a text measured to fit is usually drawn next.
int PangoTextRenderer::textWidth(std::u16string_view text, FontSize font) {
  if (text.empty()) return 0;
  return impl_->stripFor(text, font).logicalWidth;
}

void PangoTextRenderer::drawText(Canvas& canvas, std::u16string_view text, int x, int y, FontSize font,
                                 TextAlign align, Pixel colour) {
  if (text.empty() || canvas.pixels == nullptr) return;
  const Strip& strip = impl_->stripFor(text, font);
  blendStrip(canvas, strip.ink, alignedLeft(strip, x, align), y, colour & kColourBits);
}

// Pango falls back through every installed face; a code point none of them has is laid out as an
// unknown glyph, which cairo draws as a box.
bool PangoTextRenderer::hasGlyph(char32_t codePoint, FontSize font) {
  auto& known = impl_->glyphs[fontIndex(font)];
  if (auto found = known.find(codePoint); found != known.end()) return found->second;
  const std::string utf8 = utf16ToUtf8(codePoint < 0x10000 ? std::u16string(1, static_cast<char16_t>(codePoint))
                                                           : std::u16string{static_cast<char16_t>(0xD7C0 + (codePoint >> 10)),
                                                                            static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF))});
  pango_layout_set_font_description(impl_->layout, impl_->fonts[fontIndex(font)].description);
  pango_layout_set_text(impl_->layout, utf8.data(), static_cast<int>(utf8.size()));
  const bool has = pango_layout_get_unknown_glyphs_count(impl_->layout) == 0;
  known.emplace(codePoint, has);
  return has;
}

// The eight one-pixel-off draws in the outline colour become one draw of their combined rim, kept
// with the text, so an outlined name costs two blends instead of nine.
void PangoTextRenderer::drawOutlinedText(Canvas& canvas, std::u16string_view text, int x, int y,
                                         FontSize font, TextAlign align, Pixel colour, Pixel outline) {
  if (text.empty() || canvas.pixels == nullptr) return;
  Strip& strip = impl_->stripFor(text, font);
  const int left = alignedLeft(strip, x, align);
  blendStrip(canvas, impl_->rimFor(strip, font), left, y, outline & kColourBits);
  blendStrip(canvas, strip.ink, left, y, colour & kColourBits);
}

}  // namespace orelog
