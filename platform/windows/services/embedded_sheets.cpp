// The two sprite sheets from the executable's "PNG" resources, through GDI+ and the sheet rule.
#include "embedded_sheets.h"

#include <windows.h>

#include <cstdint>
#include <span>

#include "platform/windows/resource_ids.h"
#include "png_codec.h"
#include "ui/sheet_decoding.h"

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

std::optional<SpriteSheets> loadEmbeddedSheets() {
  const std::span<const uint8_t> colour = pngResource(ORELOG_ID_COLOUR_SHEET);
  const std::span<const uint8_t> mask = pngResource(ORELOG_ID_MASK_SHEET);
  if (colour.empty() || mask.empty()) return std::nullopt;
  return decodeSheets(colour, mask, decodePngBytes);
}

}  // namespace orelog
