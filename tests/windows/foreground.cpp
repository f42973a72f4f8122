// foreground: "foreground" prints whether the game's main window is the foreground window ("game"
// or "other"); "foreground hold" opens a window of its own, takes the foreground and keeps it until
// it is ended. The tests run it under Wine, whose foreground window X does not show.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr wchar_t kHolderClass[] = L"ForegroundHolder";

int hold() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kHolderClass;
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(0, kHolderClass, L"Foreground holder", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                100, nullptr, nullptr, windowClass.hInstance, nullptr);
  if (window == nullptr) return 1;
  SetForegroundWindow(window);
  std::printf("holding\n");
  std::fflush(stdout);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "hold") == 0) return hold();
  HWND game = FindWindowW(L"ORELOG", nullptr);
  std::printf("%s\n", game != nullptr && GetForegroundWindow() == game ? "game" : "other");
  return 0;
}
