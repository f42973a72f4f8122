// From an art folder to the two finished sheets: read every art file, add the drawn pictures, place.
#pragma once
#include <string>
#include <vector>

#include "art_picture.h"
#include "sheet.h"

namespace orelog::sheetgen {

struct Generated {
  Sheets sheets;
  std::string error;  // the first fault found, naming file and line; empty on success
};

struct ArtFiles {
  std::vector<std::string> paths;
  std::string error;  // a folder that could not be listed; empty when all were
};

// Every .txt under the folder, recursively, in sorted path order.
ArtFiles artFiles(const std::string& artDir);
Generated generateSheets(const std::string& artDir);

}  // namespace orelog::sheetgen
