// The two sprite sheets' PNG files, which the build links into the program as arrays.
#include "services/embedded_sheets.h"

#include <cstddef>

#ifdef ORELOG_HAVE_EMBEDDED_SHEETS
extern const unsigned char orelog_sheet_colour_png[];
extern const std::size_t orelog_sheet_colour_png_size;
extern const unsigned char orelog_sheet_mask_png[];
extern const std::size_t orelog_sheet_mask_png_size;
#endif

namespace orelog {

SheetFiles embeddedSheetFiles() {
#ifdef ORELOG_HAVE_EMBEDDED_SHEETS
  return {{orelog_sheet_colour_png, orelog_sheet_colour_png_size}, {orelog_sheet_mask_png, orelog_sheet_mask_png_size}};
#else
  // This build was made before the sheets were drawn: the program holds none.
  return {};
#endif
}

}  // namespace orelog
