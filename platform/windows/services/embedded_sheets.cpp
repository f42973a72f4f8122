// The two sprite sheets' PNG files, the executable's "PNG" resources.
#include "services/embedded_sheets.h"

#include <windows.h>

#include <cstdint>
#include <span>

#include "platform/windows/resource_ids.h"

namespace orelog {

namespace {

// The bytes of a "PNG" resource of this executable; empty when it is missing or empty.
std::span<const uint8_t> pngResource(int id) {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), L"PNG");
  if (found == nullptr) return {};
  const DWORD size = SizeofResource(nullptr, found);
  HGLOBAL loaded = LoadResource(nullptr, found);
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (bytes == nullptr || size == 0) return {};
  return {static_cast<const uint8_t*>(bytes), size};
}

}  // namespace

SheetFiles embeddedSheetFiles() {
  return {pngResource(ORELOG_ID_COLOUR_SHEET), pngResource(ORELOG_ID_MASK_SHEET)};
}

}  // namespace orelog
