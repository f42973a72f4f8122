// The keyboard accelerators: characters typed with Alt that run a command in either screen mode.
#pragma once
#include "app/shell.h"
#include "services/platform.h"

namespace orelog {

// A character accelerator: the character as typed (the layout decides which key gives it), with
// Alt held.
struct Accelerator {
  char32_t character;
  Command command;
};

// Alt+"?" and Alt+"/" both open the About box.
inline constexpr Accelerator kAccelerators[] = {{ORELOG_ABOUT_KEY[0], Command::About},
                                                {ORELOG_ABOUT_OTHER_KEY[0], Command::About}};

// The command of the accelerator for this character, or Command::None when it is none (and without
// Alt no character is an accelerator).
Command acceleratorCommand(char32_t character, bool alt);

// Runs the accelerator's command; false when the key is no accelerator and goes on to the focused
// control.
bool runAccelerator(Platform& platform, char32_t character, bool alt);

}  // namespace orelog
