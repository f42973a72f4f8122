// Text on the canvas: each (text, font) is laid out by Pango once, rasterised by cairo into a
// coverage strip, and kept; every later draw blends the strip onto the canvas in the wanted colour.
#include "pango_text.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <unordered_map>
#include <vector>

#include "ui/fonts.h"
#include "util/utf.h"

namespace orelog {

namespace {

// After the game's face come its metric-compatible stand-ins from fonts-ipafont-gothic.
constexpr const char* kStandInFamilies = ",IPAPGothic,IPAGothic";
constexpr std::array<FontSize, 3> kFontSizes = {FontSize::Small, FontSize::Medium, FontSize::Large};
// The cache is emptied when it grows past this many texts (changing numbers add new texts).
constexpr std::size_t kMaxCachedTexts = 1024;
constexpr int kFullCoverage = 255;
constexpr Pixel kColourBits = 0x00ffffff;  // canvas pixels keep their top byte clear
constexpr int kProbeEmPixels = 1000;
// The share of the cell above the baseline in the Gothic faces, should a face report no metrics.
constexpr double kUsualAscentPerCell = 0.86;

// A text's rasterised coverage and where it sits relative to the text's logical top-left corner.
struct Strip {
  int offsetX = 0;
  int offsetY = 0;
  int width = 0;
  int height = 0;
  int logicalWidth = 0;
  std::vector<uint8_t> coverage;  // row-major, stride = width
};

struct TextHash {
  using is_transparent = void;
  std::size_t operator()(std::u16string_view text) const { return std::hash<std::u16string_view>{}(text); }
};
using StripCache = std::unordered_map<std::u16string, Strip, TextHash, std::equal_to<>>;

int fontIndex(FontSize font) {
  switch (font) {
    case FontSize::Small: return 0;
    case FontSize::Medium: return 1;
    case FontSize::Large: return 2;
  }
  return 0;
}

uint8_t blendChannel(uint8_t text, uint8_t under, int alpha) {
  return static_cast<uint8_t>((text * alpha + under * (kFullCoverage - alpha) + kFullCoverage / 2) / kFullCoverage);
}

Pixel blend(Pixel text, Pixel under, int alpha) {
  return rgb(blendChannel(red(text), red(under), alpha), blendChannel(green(text), green(under), alpha),
             blendChannel(blue(text), blue(under), alpha));
}

void blitStrip(Canvas& canvas, const Strip& strip, int left, int top, Pixel colour) {
  const int x0 = std::max(left, 0), x1 = std::min(left + strip.width, canvas.width);
  const int y0 = std::max(top, 0), y1 = std::min(top + strip.height, canvas.height);
  for (int y = y0; y < y1; ++y) {
    const uint8_t* cover = strip.coverage.data() + static_cast<std::size_t>(y - top) * strip.width;
    Pixel* row = canvas.pixels + static_cast<std::ptrdiff_t>(y) * canvas.stride;
    for (int x = x0; x < x1; ++x) {
      const int alpha = cover[x - left];
      if (alpha == kFullCoverage) row[x] = colour;
      else if (alpha != 0) row[x] = blend(colour, row[x], alpha);
    }
  }
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
  std::array<StripCache, 3> strips;

  Impl();
  ~Impl();
  const Strip& stripFor(std::u16string_view text, FontSize font);
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
    strip.offsetX = left;
    // The layout's own baseline moves to the font's baseline inside the cell.
    strip.offsetY = top - PANGO_PIXELS(pango_layout_get_baseline(layout)) + chosen.baseline;
    strip.width = right - left;
    strip.height = bottom - top;
    strip.coverage.resize(static_cast<std::size_t>(strip.width) * strip.height);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < strip.height; ++y)
      std::copy_n(data + static_cast<std::ptrdiff_t>(y) * stride, strip.width,
                  strip.coverage.data() + static_cast<std::size_t>(y) * strip.width);
  }
  cairo_surface_destroy(surface);
  return strip;
}

const Strip& PangoTextRenderer::Impl::stripFor(std::u16string_view text, FontSize font) {
  StripCache& cache = strips[fontIndex(font)];
  if (auto found = cache.find(text); found != cache.end()) return found->second;
  if (cache.size() >= kMaxCachedTexts) cache.clear();
  return cache.emplace(std::u16string(text), rasterise(text, font)).first->second;
}

PangoTextRenderer::PangoTextRenderer() : impl_(std::make_unique<Impl>()) {}
PangoTextRenderer::~PangoTextRenderer() = default;

void PangoTextRenderer::drawText(Canvas& canvas, std::u16string_view text, int x, int y, FontSize font,
                                 TextAlign align, Pixel colour) {
  if (text.empty() || canvas.pixels == nullptr) return;
  const Strip& strip = impl_->stripFor(text, font);
  int left = x;
  if (align == TextAlign::Centre) left = x - strip.logicalWidth / 2;
  if (align == TextAlign::Right) left = x - strip.logicalWidth;
  blitStrip(canvas, strip, left + strip.offsetX, y + strip.offsetY, colour & kColourBits);
}

}  // namespace orelog
