// The connect screen's background and its two labels, painted straight onto the window.
#include "connect_labels.h"

#include <pango/pangocairo.h>

#include "font_families.h"
#include "ui/connect_layout.h"
#include "ui/fonts.h"
#include "util/utf.h"

namespace orelog {

namespace {

constexpr double kChannelMax = 255.0;

void setSourcePixel(cairo_t* cr, Pixel colour) {
  cairo_set_source_rgb(cr, red(colour) / kChannelMax, green(colour) / kChannelMax,
                       blue(colour) / kChannelMax);
}

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
  setSourcePixel(cr, kConnectBackground);
  cairo_paint(cr);
  setSourcePixel(cr, kConnectLabelColour);
  PangoLayout* layout = pango_cairo_create_layout(cr);
  pango_layout_set_font_description(layout, font.description);
  for (const ConnectLabel& label : kConnectLabels) {
    const std::string text = utf16ToUtf8(label.text);
    pango_layout_set_text(layout, text.c_str(), static_cast<int>(text.size()));
    cairo_save(cr);
    cairo_rectangle(cr, label.box.x, label.box.y, label.box.width, label.box.height);
    cairo_clip(cr);
    cairo_move_to(cr, label.box.x, label.box.y);
    pango_cairo_show_layout(cr, layout);
    cairo_restore(cr);
  }
  g_object_unref(layout);
}

}  // namespace orelog
