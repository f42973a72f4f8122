// Picking the first installed family of a wish list from Pango's font map.
#include "font_families.h"

#include <pango/pangocairo.h>

#include <cassert>

#include "ui/fonts.h"
#include "util/utf.h"

namespace orelog {

namespace {

bool hasFamily(PangoFontFamily** families, int count, const char* name) {
  for (int i = 0; i < count; ++i) {
    if (g_ascii_strcasecmp(pango_font_family_get_name(families[i]), name) == 0) return true;
  }
  return false;
}

}  // namespace

std::string installedFamily(const std::vector<std::string>& wanted) {
  assert(wanted.size() > 0 && "a wish list names at least one family");
  PangoFontFamily** families = nullptr;
  int count = 0;
  pango_font_map_list_families(pango_cairo_font_map_get_default(), &families, &count);
  std::string chosen = wanted.back();
  for (const std::string& name : wanted) {
    if (hasFamily(families, count, name.c_str())) {
      chosen = name;
      break;
    }
  }
  g_free(families);
  return chosen;
}

// Each face is followed by its stand-ins: the IPA Gothic faces of fonts-ipafont-gothic, then any.
std::string connectFontFamily() {
  return installedFamily({utf16ToUtf8(kConnectFontFace), "IPAPGothic", "IPAGothic", "Sans"});
}

std::string pageFontFamily() {
  return installedFamily({utf16ToUtf8(kPageFontFace), "MS PGothic", "IPAPGothic", "IPAGothic", "Sans"});
}

}  // namespace orelog
