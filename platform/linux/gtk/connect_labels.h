// The connect screen's painted part: its background and its two labels.
#pragma once
#include <cairo.h>
#include <pango/pango.h>

namespace orelog {

// The connect face, or IPA P Gothic at the same em where it is not installed.
struct ConnectFont {
  PangoFontDescription* description = nullptr;
};

ConnectFont makeConnectFont();
void freeConnectFont(ConnectFont& font);

void paintConnectScreen(cairo_t* cr, const ConnectFont& font);

}  // namespace orelog
