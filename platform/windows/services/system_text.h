// The text renderer of this platform's services, under the name the tools use on every platform.
#pragma once
#include "gdi_text.h"

namespace orelog {
using SystemTextRenderer = GdiTextRenderer;
}
