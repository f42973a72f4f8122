// Everything the GTK program holds: the app's state, the main window and the platform over it.
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
