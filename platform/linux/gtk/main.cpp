// orelog: the game on GTK 3, one thread, the GLib main loop.
#include <glib-unix.h>
#include <gtk/gtk.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "app/shell.h"
#include "ui/sheet_decoding.h"
#include "front_end.h"
#include "util/version.h"

namespace orelog {

GtkFrontEnd::GtkFrontEnd()
    : platform(window, [this](int timerId) { handleEvent([&] { timerEvent(*app, platform, timerId); }); }) {}

GtkFrontEnd::~GtkFrontEnd() {
  platform.stopTimers();
  freeConnectFont(connectFont);
}

namespace {

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Ctrl+C in a terminal, a logout or a kill end the game as its close box does, progress saved.
// Open boxes and dialogs are answered as if cancelled, so nothing waits for a player who has left;
// once the window is gone no new one opens.
gboolean onEndingSignal(gpointer data) {
  auto& front = *static_cast<GtkFrontEnd*>(data);
  if (front.window.window) gtk_widget_destroy(front.window.window);
  GList* toplevels = gtk_window_list_toplevels();
  for (GList* item = toplevels; item; item = item->next) {
    if (GTK_IS_DIALOG(item->data)) gtk_dialog_response(GTK_DIALOG(item->data), GTK_RESPONSE_DELETE_EVENT);
  }
  g_list_free(toplevels);
  return G_SOURCE_CONTINUE;
}

// Without a session bus, GTK's settings (the file chooser keeps some) would go to dconf, which then
// warns that it cannot start one; they stay in memory instead. A bus at the usual place counts.
void keepSettingsInMemoryWithoutSessionBus() {
  if (g_getenv("DBUS_SESSION_BUS_ADDRESS") || g_getenv("GSETTINGS_BACKEND")) return;
  const char* runtimeDir = g_getenv("XDG_RUNTIME_DIR");
  if (runtimeDir && g_file_test((std::string(runtimeDir) + "/bus").c_str(), G_FILE_TEST_EXISTS)) return;
  g_setenv("GSETTINGS_BACKEND", "memory", TRUE);
}

int run(const CommandLine& commandLine) {
  GtkFrontEnd front;
  front.app->requestedUpdateIntervalMs = commandLine.updateIntervalMs;
  buildMainWindow(front);
  front.connectFont = makeConnectFont();
  for (int signal : kEndingSignals) g_unix_signal_add(signal, onEndingSignal, &front);
  if (!startUp(*front.app, front.platform, loadEmbeddedSheets)) return 0;
  if (!front.windowClosed) gtk_main();
  shutDown(*front.app, front.platform);
  return 0;
}

}  // namespace

}  // namespace orelog

int main(int argc, char** argv) {
  // Answered before GTK starts, so no display is needed.
  if (orelog::asksForVersion(std::vector<std::string>(argv + 1, argv + argc))) {
    return orelog::printVersionLine();
  }
  // The game draws with cairo only; without this GDK loads OpenGL (some 50 MB resident) unused.
  g_setenv("GDK_GL", "disable", TRUE);
  orelog::keepSettingsInMemoryWithoutSessionBus();
  gtk_init(&argc, &argv);  // takes GTK's own options out of argv
  try {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto commandLine = orelog::readCommandLine(args);
    if (!commandLine) {
      std::fputs(orelog::kCommandLineUsage.data(), stderr);
      return 2;
    }
    return orelog::run(*commandLine);
  } catch (...) {
    return 1;  // only running out of memory while starting gets here
  }
}
