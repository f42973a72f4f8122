// The keyboard accelerators: characters typed with Alt that run a command in either screen mode.
#pragma once
#include "app/shell.h"
#include "services/platform.h"

namespace orelog {

// A character accelerator: the character as typed (the layout decides which key gives it), with
// Alt held.
struct Accelerator {
  char32_t character;
  int command;
};

// Alt+"?" and Alt+"/" both open the About box.
inline constexpr Accelerator kAccelerators[] = {{U'?', kCommandAbout}, {U'/', kCommandAbout}};

// The command of the accelerator for this character, or 0 when it is none (and without Alt no
// character is an accelerator).
int acceleratorCommand(char32_t character, bool alt);

// Runs the accelerator's command; false when the key is no accelerator and goes on to the focused
// control.
bool runAccelerator(Platform& platform, char32_t character, bool alt);

}  // namespace orelog
