// The sprite sheets, the texts and the PNG file of the commands that draw a picture.
#include "picture_output.h"

#include <cstdio>

#include "services/png_codec.h"
#include "services/system_text.h"

namespace orelog::tool {

std::optional<SpriteSheets> loadSheetsOrSay() {
  std::optional<SpriteSheets> sheets = loadEmbeddedSheets();
  if (!sheets) std::fputs("orelog-tool: the sprite sheets could not be loaded\n", stderr);
  return sheets;
}

bool writePngOrSay(const Canvas& canvas, const std::string& path) {
  if (writePngFile(canvas, path)) return true;
  std::fprintf(stderr, "orelog-tool: cannot write %s\n", path.c_str());
  return false;
}

PictureText::PictureText(bool withText) {
  if (withText) system_ = makeSystemTextRenderer();
}

}  // namespace orelog::tool
