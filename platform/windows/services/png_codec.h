// PNG decoding and encoding over GDI+: services/png_codec.h, and GDI+ started once.
#pragma once
#include "services/png_codec.h"

namespace orelog {

// Starts GDI+ once for the whole process (it is shut down when the process ends); false when it
// cannot start. The codec functions start it themselves.
bool startGdiplus();

}  // namespace orelog
