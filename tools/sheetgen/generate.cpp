// From an art folder to the two finished sheets: read every art file, add the drawn pictures, place.
#include "generate.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "art_file.h"
#include "drawn_art.h"

namespace orelog::sheetgen {

namespace fs = std::filesystem;

std::vector<std::string> artFiles(const std::string& artDir) {
  std::vector<std::string> files;
  std::error_code error;
  for (fs::recursive_directory_iterator it(artDir, error), end; !error && it != end; it.increment(error)) {
    if (it->is_regular_file(error) && it->path().extension() == ".txt") files.push_back(it->path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

Generated generateSheets(const std::string& artDir) {
  Generated result;
  std::error_code error;
  if (!fs::is_directory(artDir, error)) {
    result.error = artDir + ": not a folder";
    return result;
  }
  std::vector<Picture> pictures = drawnPictures();
  for (const std::string& file : artFiles(artDir)) {
    ArtParse parsed = parseArtFile(file);
    if (!parsed.error.empty()) {
      result.error = parsed.error;
      return result;
    }
    std::move(parsed.pictures.begin(), parsed.pictures.end(), std::back_inserter(pictures));
  }
  result.error = checkLayout(pictures);
  if (!result.error.empty()) return result;
  result.sheets = blankSheets();
  for (const Picture& picture : pictures) drawPicture(result.sheets, picture);
  return result;
}

}  // namespace orelog::sheetgen
