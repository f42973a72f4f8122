// Everything the Win32 program holds: the app's state, the main window and the platform over it.
#pragma once
#include <memory>

#include "app/app_state.h"
#include "main_window.h"
#include "win_platform.h"

namespace orelog {

struct WinFrontEnd {
  std::unique_ptr<AppState> app = std::make_unique<AppState>();
  MainWindow window;
  WinPlatform platform{window};
  bool shutDownDone = false;  // the end's save has run (the session may end before the loop does)
};

// Runs one message through the app; an exception ends that message, never the program, and never
// unwinds through the system's window procedure.
template <typename Handler>
void handleMessage(Handler&& handler) noexcept {
  try {
    handler();
  } catch (...) {
  }
}

}  // namespace orelog
