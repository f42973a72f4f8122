// The name field's typing limit.
#include "app/dialogs.h"

#include "util/utf.h"

namespace orelog {

std::u16string fittingNameInsertion(std::u16string_view current, std::u16string_view inserted) {
  const std::size_t room = current.size() < kNameFieldMaxUnits ? kNameFieldMaxUnits - current.size() : 0;
  return truncateUtf16(inserted, room);
}

}  // namespace orelog
