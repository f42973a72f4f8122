// Picking the first installed family of a wish list from Pango's font map.
#include "font_families.h"

#include <pango/pangocairo.h>

#include <cassert>

namespace orelog {

namespace {

bool hasFamily(PangoFontFamily** families, int count, const char* name) {
  for (int i = 0; i < count; ++i) {
    if (g_ascii_strcasecmp(pango_font_family_get_name(families[i]), name) == 0) return true;
  }
  return false;
}

}  // namespace

std::string installedFamily(std::initializer_list<const char*> wanted) {
  assert(wanted.size() > 0 && "a wish list names at least one family");
  PangoFontFamily** families = nullptr;
  int count = 0;
  pango_font_map_list_families(pango_cairo_font_map_get_default(), &families, &count);
  std::string chosen = *(wanted.end() - 1);
  for (const char* name : wanted) {
    if (hasFamily(families, count, name)) {
      chosen = name;
      break;
    }
  }
  g_free(families);
  return chosen;
}

std::string connectFontFamily() {
  return installedFamily({"Meiryo UI", "IPAPGothic", "IPAGothic", "Sans"});
}

std::string pageFontFamily() {
  return installedFamily({"ＭＳ Ｐゴシック", "MS PGothic", "IPAPGothic", "IPAGothic", "Sans"});
}

}  // namespace orelog
