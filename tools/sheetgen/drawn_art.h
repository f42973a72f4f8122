// The pictures drawn by code: the blue panel, the shelf and the lettered banners.
#pragma once
#include <vector>

#include "art_picture.h"

namespace orelog::sheetgen {

std::vector<Picture> drawnPictures();

}  // namespace orelog::sheetgen
