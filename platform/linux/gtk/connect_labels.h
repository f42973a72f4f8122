// The connect screen's painted part: its background and the labels "プール" and "APIキー".
#pragma once
#include <cairo.h>
#include <pango/pango.h>

namespace orelog {

// "Meiryo UI" (16-pixel cell), or IPA P Gothic at the same em where Meiryo UI is not installed.
struct ConnectFont {
  PangoFontDescription* description = nullptr;
};

ConnectFont makeConnectFont();
void freeConnectFont(ConnectFont& font);

void paintConnectScreen(cairo_t* cr, const ConnectFont& font);

}  // namespace orelog
