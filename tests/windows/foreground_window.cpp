// foreground-window: prints the title of the window in the foreground, the one that takes the
// player's keys (nothing when there is none), in UTF-8; the tests run it under Wine to learn which
// program's window was brought forward.
#include <windows.h>

#include <cstdio>
#include <string>

int main() {
  HWND window = GetForegroundWindow();
  if (window == nullptr) return 0;
  wchar_t title[256] = {};
  const int units = GetWindowTextW(window, title, 256);
  std::string text(static_cast<size_t>(units) * 3 + 1, '\0');
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, title, units, text.data(), static_cast<int>(text.size()),
                                        nullptr, nullptr);
  text.resize(static_cast<size_t>(bytes > 0 ? bytes : 0));
  std::printf("%s\n", text.c_str());
  return 0;
}
