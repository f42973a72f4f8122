// Looking up and running the keyboard accelerators.
#include "app/accelerators.h"

namespace orelog {

int acceleratorCommand(char32_t character, bool alt) {
  if (!alt) return 0;
  for (const Accelerator& accelerator : kAccelerators) {
    if (accelerator.character == character) return accelerator.command;
  }
  return 0;
}

bool runAccelerator(Platform& platform, char32_t character, bool alt) {
  if (acceleratorCommand(character, alt) != kCommandAbout) return false;
  aboutCommand(platform);
  return true;
}

}  // namespace orelog
