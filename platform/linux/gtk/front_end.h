// Everything the GTK program holds: the app's state, the main window and the platform over it.
//
// The front end's duties (services/platform.h) and how GTK 3 meets each:
//  [x] Entry: main.cpp builds the window hidden, calls startUp() and ends with 0 when it declines.
//  [x] Loop: gtk_main() until the window is destroyed, then shutDown().
//  [x] Paint: the drawing area's "draw" paints the connect labels with cairo, or the canvas scaled
//      by a whole number with CAIRO_FILTER_NEAREST (main_window.cpp).
//  [x] Input: "button-press-event", "motion-notify-event", "button-release-event" in canvas pixels;
//      "key-press-event" asks the core's accelerators; the connect button's "clicked".
//  [x] Timers: g_timeout_add() for both, which also fire inside gtk_dialog_run()'s loop.
//  [x] Posted tasks: g_idle_add_full() from any thread, in order; dropped once the window is gone.
//  [x] Notices: org.freedesktop.Notifications over GDBus, asynchronously; nothing without a
//      notification service (desktop_notice.cpp).
//  [x] Ending: SIGINT, SIGTERM and SIGHUP through g_unix_signal_add() close the window and any box.
//  [x] Clock: the tick counter from g_get_monotonic_time(); the local time from the C library.
//  [x] Lock: flock(2) on a file in the runtime folder (instance_lock.cpp).
//  [x] Fetch: libcurl (http_curl.cpp); text: Pango (pango_text.cpp); PNG: libpng (png_codec.cpp).
//  [x] No exception crosses a callback: each goes through handleEvent().
#pragma once
#include <memory>

#include "app/app_state.h"
#include "connect_labels.h"
#include "gtk_platform.h"
#include "main_window.h"

namespace orelog {

struct GtkFrontEnd {
  std::unique_ptr<AppState> app = std::make_unique<AppState>();
  MainWindow window;
  GtkPlatform platform;
  ConnectFont connectFont;
  bool windowClosed = false;  // the main window is gone; the program ends as soon as it can

  GtkFrontEnd();
  ~GtkFrontEnd();
  GtkFrontEnd(const GtkFrontEnd&) = delete;
  GtkFrontEnd& operator=(const GtkFrontEnd&) = delete;
};

// Runs one event of the window system through the app; an exception ends that event, never
// the program, and never unwinds through GTK.
template <typename Handler>
void handleEvent(Handler&& handler) noexcept {
  try {
    handler();
  } catch (...) {
  }
}

}  // namespace orelog
