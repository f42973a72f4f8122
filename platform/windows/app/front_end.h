// Everything the Win32 program holds: the app's state, the main window and the platform over it.
//
// The front end's duties (services/platform.h) and how Win32 meets each:
//  [x] Entry: wWinMain builds the window hidden, calls startUp() and ends with 0 when it declines.
//  [x] Loop: GetMessageW() until WM_QUIT, with the accelerator table and the connect screen's
//      dialog keys, then shutDown().
//  [x] Paint: WM_PAINT paints the connect labels with GDI, or the canvas's DIB section by BitBlt,
//      or StretchBlt at a whole-number scale (main_window.cpp).
//  [x] Input: WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP in canvas pixels; the accelerator table
//      sends the About command; the connect button's WM_COMMAND.
//  [x] Timers: SetTimer() for both; WM_TIMER also reaches the window inside a message box's loop.
//  [x] Posted tasks: PostMessageW() of kRunTaskMessage from any thread; the ones left when the
//      window is gone are dropped unrun.
//  [x] Notices: the balloon of a notification-area icon, removed with the window (tray_notice.cpp).
//  [x] Ending: WM_ENDSESSION saves and ends; closing the window abandons a running request.
//  [x] Clock: GetTickCount(); the local time from the C runtime.
//  [x] Lock: a named mutex (instance_lock.cpp).
//  [x] Fetch: WinHTTP (http_winhttp.cpp); text: GDI (gdi_text.cpp); PNG: GDI+ (png_codec.cpp).
//  [x] No exception crosses the window procedure: each message goes through handleMessage().
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
