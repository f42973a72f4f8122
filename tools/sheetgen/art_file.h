// Reads the text art format: palettes and pictures of characters, one character per pixel.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "art_picture.h"

namespace orelog::sheetgen {

struct ArtParse {
  std::vector<Picture> pictures;
  std::string error;  // "FILE:LINE: what is wrong"; empty when the text was read
};

// `source` names the file in messages and in the pictures.
ArtParse parseArtText(std::string_view text, const std::string& source);
ArtParse parseArtFile(const std::string& path);

}  // namespace orelog::sheetgen
