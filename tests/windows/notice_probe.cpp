// notice-probe: shows two desktop notices through the notification-area icon, as the game does, the
// second longer than the balloon holds, then removes the icon; prints each step's result
// ("first 1", "second 1") on standard output and ends with 0 when the shell took both.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tray_notice.h"

namespace {

constexpr wchar_t kClassName[] = L"OrelogNoticeProbe";
// Eight names of 63 units: far past the balloon's 255, with a pair that must not be split.
const std::u16string kLongNotice = u"ワーカー「" + std::u16string(300, u'w') + u"🐱」が止まりました。";

HWND makeWindow(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kClassName;
  if (RegisterClassExW(&windowClass) == 0) return nullptr;
  return CreateWindowExW(0, kClassName, L"notice-probe", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                         instance, nullptr);
}

}  // namespace

int main() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const HWND window = makeWindow(instance);
  if (window == nullptr) return 2;
  const HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
  bool shown = true;
  {
    orelog::TrayNotice tray;
    const bool first = tray.show(window, icon, u"ホリダスα", u"ワーカー「rig1」が止まりました。");
    const bool second = tray.show(window, icon, u"ホリダスα", kLongNotice);
    std::printf("first %d\nsecond %d\n", first ? 1 : 0, second ? 1 : 0);
    shown = first && second;
  }  // the icon goes with the tray
  DestroyWindow(window);
  return shown ? 0 : 1;
}
