// orelog: the game on GTK 3, one thread, the GLib main loop.
#include <gtk/gtk.h>

#include "app/shell.h"
#include "embedded_sheets.h"
#include "front_end.h"

namespace orelog {

GtkFrontEnd::GtkFrontEnd()
    : platform(window, [this](int timerId) { handleEvent([&] { timerEvent(*app, platform, timerId); }); }) {}

GtkFrontEnd::~GtkFrontEnd() {
  platform.stopTimers();
  freeConnectFont(connectFont);
}

namespace {

int run() {
  GtkFrontEnd front;
  buildMainWindow(front);
  front.connectFont = makeConnectFont();
  if (!startUp(*front.app, front.platform, loadEmbeddedSheets)) return 0;
  gtk_main();
  shutDown(*front.app, front.platform);
  return 0;
}

}  // namespace

}  // namespace orelog

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  try {
    return orelog::run();
  } catch (...) {
    return 1;  // only running out of memory while starting gets here
  }
}
