// Where an owned item's picture lies on the sheets, whole or cut to a list row.
#include <algorithm>

#include "profile/catalogue.h"
#include "ui/pages.h"

namespace orelog {

std::optional<SpriteRegion> ownedItemPicture(const OwnedItem& item) {
  if (!isItemKind(item.itemId)) return std::nullopt;
  const SpriteRegion kind = itemRegion(item.itemId);
  // The item's size comes from the catalogue; clamping keeps a damaged size inside its picture.
  return SpriteRegion{kind.x, kind.y, std::clamp(item.width, 0, kind.width),
                      std::clamp(item.height, 0, kind.height)};
}

SpriteRegion cutToListRow(SpriteRegion picture) {
  picture.height = std::min(picture.height, kListPictureMaxHeight);
  return picture;
}

}  // namespace orelog
