// dpi-changed DPI: tells the game's main window that its dpi is now DPI, as Windows does when the
// display's scaling changes or the window moves to another monitor; the tests run it under Wine,
// which never sends the message itself. Exit 1 when no game window is open.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const int dpi = std::atoi(argv[1]);
  HWND window = FindWindowW(L"ORELOG", nullptr);
  if (window == nullptr) return 1;
  // The suggested rectangle cannot cross into another process; the game does not read it.
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), 0);
  return 0;
}
