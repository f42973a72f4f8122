// The tools' text renderer on Windows: GDI.
#include "services/system_text.h"

#include "gdi_text.h"

namespace orelog {

std::unique_ptr<TextRenderer> makeSystemTextRenderer() {
  return std::make_unique<GdiTextRenderer>();
}

}  // namespace orelog
