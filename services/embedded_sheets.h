// The two sprite sheets as the PNG files the build puts into the program, which each front end's
// services find (linked-in arrays on Linux, "PNG" resources on Windows).
#pragma once
#include <cstdint>
#include <span>

namespace orelog {

struct SheetFiles {
  std::span<const uint8_t> colour;
  std::span<const uint8_t> mask;
};

// The program's sheet files; a file the program lacks is empty.
SheetFiles embeddedSheetFiles();

}  // namespace orelog
