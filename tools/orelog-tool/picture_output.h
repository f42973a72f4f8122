// What the commands that draw a picture share: the sprite sheets, the texts with or without the
// system's fonts, and the PNG file, each failure said on standard error.
#pragma once
#include <memory>
#include <optional>
#include <string>

#include "services/null_platform.h"
#include "ui/sheet_decoding.h"
#include "util/pixels.h"

namespace orelog::tool {

// The embedded sheets; nullopt, said, when they cannot be loaded.
std::optional<SpriteSheets> loadSheetsOrSay();

// Writes the canvas as a PNG; false, said, when the file cannot be written.
bool writePngOrSay(const Canvas& canvas, const std::string& path);

// The texts a picture is drawn with: the system's fonts, or none for --no-text.
class PictureText {
 public:
  explicit PictureText(bool withText);
  TextRenderer& renderer() { return system_ ? *system_ : none_; }

 private:
  std::unique_ptr<TextRenderer> system_;
  NullTextRenderer none_;
};

}  // namespace orelog::tool
