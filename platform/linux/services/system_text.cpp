// The tools' text renderer on Linux: Pango.
#include "services/system_text.h"

#include "pango_text.h"

namespace orelog {

std::unique_ptr<TextRenderer> makeSystemTextRenderer() {
  return std::make_unique<PangoTextRenderer>();
}

}  // namespace orelog
