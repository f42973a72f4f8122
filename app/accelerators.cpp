// Looking up and running the keyboard accelerators.
#include "app/accelerators.h"

namespace orelog {

Command acceleratorCommand(char32_t character, bool alt) {
  if (!alt) return Command::None;
  for (const Accelerator& accelerator : kAccelerators) {
    if (accelerator.character == character) return accelerator.command;
  }
  return Command::None;
}

bool runAccelerator(Platform& platform, char32_t character, bool alt) {
  if (acceleratorCommand(character, alt) != Command::About) return false;
  aboutCommand(platform);
  return true;
}

}  // namespace orelog
