// The platform services on Win32: each call translated into the Windows operation that does it.
#include "win_platform.h"

#include <shellapi.h>

#include <vector>

#include "app/timers.h"
#include "dialogs.h"
#include "platform/windows/resource_ids.h"
#include "png_codec.h"
#include "wide_text.h"

namespace orelog {

namespace {

constexpr int kClassNameCapacity = 100;

void addEntries(HWND box, const std::vector<std::u16string>& entries, int selection) {
  SendMessageW(box, CB_RESETCONTENT, 0, 0);
  for (const std::u16string& entry : entries) {
    SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wideText(entry).c_str()));
  }
  SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
}

// The first window of the class that another process owns: this copy has made a main window of its
// own (still hidden) before it learnt that another copy runs.
HWND otherCopysWindow(const wchar_t* className) {
  HWND window = nullptr;
  while ((window = FindWindowExW(nullptr, window, className, nullptr)) != nullptr) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId()) return window;
  }
  return nullptr;
}

}  // namespace

uint32_t WinPlatform::tickCount() {
  return GetTickCount();
}

// The running copy's main window is found by its class; a dialog it has open comes forward in its
// place. The player's own start of this copy lets it hand the foreground on.
void WinPlatform::raiseRunningCopy() {
  wchar_t className[kClassNameCapacity] = {};
  if (LoadStringW(GetModuleHandleW(nullptr), ORELOG_ID_CLASS_STRING, className, kClassNameCapacity) == 0) return;
  HWND running = otherCopysWindow(className);
  if (running == nullptr) return;
  if (IsIconic(running)) ShowWindow(running, SW_RESTORE);
  SetForegroundWindow(GetLastActivePopup(running));
}

void WinPlatform::showMessage(std::u16string_view text, MessageOwner owner) {
  showErrorBox(owner == MessageOwner::MainWindow ? this->owner() : nullptr, text);
}

void WinPlatform::showAbout() {
  runAboutBox(owner());
}

std::optional<std::u16string> WinPlatform::askPlayerName(std::u16string_view current) {
  return runNameDialog(owner(), current);
}

std::optional<std::string> WinPlatform::askSavePath(std::u16string_view defaultName) {
  return runSaveDialog(owner(), defaultName);
}

void WinPlatform::openLink(std::string_view url) {
  ShellExecuteW(nullptr, L"open", wideFromUtf8(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void WinPlatform::showNotice(std::u16string_view title, std::u16string_view text) {
  HWND window = owner();
  if (window == nullptr) return;
  const HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(ORELOG_ID_SMALL_ICON));
  tray_.show(window, icon, title, text);  // without a notification area the notice goes unseen
}

// A task that cannot be posted (the window is gone) is dropped here; one still queued when the
// window goes is dropped by the loop's end.
void WinPlatform::postToUiThread(std::function<void()> task) {
  auto* posted = new std::function<void()>(std::move(task));
  HWND window = window_.window.load();
  if (window == nullptr || !PostMessageW(window, kRunTaskMessage, 0, reinterpret_cast<LPARAM>(posted)))
    delete posted;
}

void WinPlatform::fillConnectControls(const ConnectControlsContent& content) {
  addEntries(window_.poolBox, content.poolEntries, content.poolSelection);
  addEntries(window_.keyBox, content.keyEntries, content.keySelection);
}

std::u16string WinPlatform::connectFieldText(ConnectField field) {
  HWND box = field == ConnectField::Pool ? window_.poolBox : window_.keyBox;
  std::vector<wchar_t> text(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1);
  GetWindowTextW(box, text.data(), static_cast<int>(text.size()));
  return utf16Text(text.data());
}

void WinPlatform::setConnectControlsEnabled(bool enabled) {
  for (HWND control : {window_.keyBox, window_.poolBox, window_.connectButton})
    EnableWindow(control, enabled);
  repaint();
}

void WinPlatform::hideConnectControls() {
  for (HWND control : {window_.keyBox, window_.poolBox, window_.connectButton}) ShowWindow(control, SW_HIDE);
}

void WinPlatform::showMainWindow() {
  ShowWindow(owner(), showCommand);
  UpdateWindow(owner());
}

void WinPlatform::setClientSize(int width, int height) {
  resizeClientArea(window_, width, height);
}

void WinPlatform::setBusyCursor(bool busy) {
  window_.busy = busy;
  POINT pointer{};
  RECT client{};
  if (GetCursorPos(&pointer) && ScreenToClient(owner(), &pointer) && GetClientRect(owner(), &client) &&
      PtInRect(&client, pointer))
    SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void WinPlatform::startTimers(uint32_t updateIntervalMs) {
  SetTimer(owner(), kAnimationTimerId, kAnimationIntervalMs, nullptr);
  SetTimer(owner(), kUpdateTimerId, updateIntervalMs, nullptr);
}

void WinPlatform::showCreditsBox(bool visible) {
  ShowWindow(window_.creditsBox, visible ? SW_SHOW : SW_HIDE);
}

void WinPlatform::repaint() {
  InvalidateRect(owner(), nullptr, FALSE);
  UpdateWindow(owner());
}

}  // namespace orelog
