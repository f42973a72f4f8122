// sheetgen ART_DIR OUT_COLOUR.png OUT_MASK.png: builds the colour and mask sprite sheets.
#include <cstdio>
#include <string>

#include "generate.h"
#include "png_file.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

bool writeSheet(const std::string& path, const orelog::sheetgen::Sheets& sheets, bool mask) {
  const orelog::sheetgen::RgbImage image{sheets.size, sheets.size, mask ? sheets.mask : sheets.colour};
  if (orelog::sheetgen::writeRgbPng(path, image)) return true;
  std::fprintf(stderr, "sheetgen: cannot write %s\n", path.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: sheetgen ART_DIR OUT_COLOUR.png OUT_MASK.png\n", stderr);
    return kExitUsage;
  }
  const auto generated = orelog::sheetgen::generateSheets(argv[1]);
  if (!generated.error.empty()) {
    std::fprintf(stderr, "sheetgen: %s\n", generated.error.c_str());
    return kExitFailure;
  }
  if (!writeSheet(argv[2], generated.sheets, false) || !writeSheet(argv[3], generated.sheets, true)) {
    return kExitFailure;
  }
  return 0;
}
