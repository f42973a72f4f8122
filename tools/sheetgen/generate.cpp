// From an art folder to the two finished sheets: read every art file, add the drawn pictures, place.
#include "generate.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "art_file.h"
#include "drawn_art.h"

namespace orelog::sheetgen {

namespace fs = std::filesystem;

// A folder that cannot be listed is a fault: sheets missing its pictures would look like success.
ArtFiles artFiles(const std::string& artDir) {
  ArtFiles files;
  std::error_code error;
  for (fs::recursive_directory_iterator it(artDir, error), end; !error && it != end; it.increment(error)) {
    std::error_code ignored;  // an entry that cannot be examined is read below and reported there
    if (it->path().extension() == ".txt" && !it->is_directory(ignored)) files.paths.push_back(it->path().string());
  }
  if (error) files.error = artDir + ": cannot be listed (" + error.message() + ")";
  std::sort(files.paths.begin(), files.paths.end());
  return files;
}

Generated generateSheets(const std::string& artDir) {
  Generated result;
  std::error_code error;
  if (!fs::is_directory(artDir, error)) {
    result.error = artDir + ": not a folder";
    return result;
  }
  const ArtFiles files = artFiles(artDir);
  if (!files.error.empty()) {
    result.error = files.error;
    return result;
  }
  std::vector<Picture> pictures = drawnPictures();
  for (const std::string& file : files.paths) {
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
