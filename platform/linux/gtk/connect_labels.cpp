// The connect screen's background and its two labels, painted straight onto the window.
#include "connect_labels.h"

#include <pango/pangocairo.h>

#include "font_families.h"
#include "ui/connect_screen.h"
#include "util/utf.h"

namespace orelog {

namespace {

// Meiryo UI's 16-pixel cell holds a 12-pixel em; its stand-in gets the same em, as do the controls.
constexpr int kConnectFontEmPixels = 12;
constexpr double kBackground = 243.0 / 255.0;

struct Label {
  std::u16string_view text;
  int left, top;
};
constexpr Label kLabels[] = {{kPoolLabel, 12, 9}, {kApiKeyLabel, 6, 36}};

}  // namespace

ConnectFont makeConnectFont() {
  PangoFontDescription* description = pango_font_description_new();
  pango_font_description_set_family(description, connectFontFamily().c_str());
  pango_font_description_set_absolute_size(description, kConnectFontEmPixels * PANGO_SCALE);
  return {description};
}

void freeConnectFont(ConnectFont& font) {
  if (font.description) pango_font_description_free(font.description);
  font.description = nullptr;
}

void paintConnectScreen(cairo_t* cr, const ConnectFont& font) {
  cairo_set_source_rgb(cr, kBackground, kBackground, kBackground);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
  PangoLayout* layout = pango_cairo_create_layout(cr);
  pango_layout_set_font_description(layout, font.description);
  for (const Label& label : kLabels) {
    const std::string text = utf16ToUtf8(label.text);
    pango_layout_set_text(layout, text.c_str(), static_cast<int>(text.size()));
    cairo_move_to(cr, label.left, label.top);
    pango_cairo_show_layout(cr, layout);
  }
  g_object_unref(layout);
}

}  // namespace orelog
