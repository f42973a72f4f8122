// The platform services on Win32 and the Windows services: dialogs, controls, timers, HTTP, text, PNG.
#pragma once
#include <windows.h>

#include "gdi_text.h"
#include "instance_lock.h"
#include "main_window.h"
#include "services/platform.h"
#include "services/system_services.h"
#include "tray_notice.h"

namespace orelog {

class WinPlatform : public SystemServices<Platform> {
 public:
  explicit WinPlatform(MainWindow& window) : window_(window) {}
  WinPlatform(const WinPlatform&) = delete;
  WinPlatform& operator=(const WinPlatform&) = delete;

  uint32_t tickCount() override;
  bool acquireInstanceLock() override { return lock_.acquire(); }
  void releaseInstanceLock() override { lock_.release(); }
  void raiseRunningCopy() override;
  void showMessage(std::u16string_view text, MessageOwner owner) override;
  void showAbout() override;
  std::optional<std::u16string> askPlayerName(std::u16string_view current) override;
  std::optional<std::string> askSavePath(std::u16string_view defaultName) override;
  void openLink(std::string_view url) override;
  // The notice in the balloon of the game's notification-area icon, added at the first notice.
  void showNotice(std::u16string_view title, std::u16string_view text) override;
  void postToUiThread(std::function<void()> task) override;
  TextRenderer& textRenderer() override { return text_; }
  void fillConnectControls(const ConnectControlsContent& content) override;
  std::u16string connectFieldText(ConnectField field) override;
  void setConnectControlsEnabled(bool enabled) override;
  void hideConnectControls() override;
  void showMainWindow() override;
  void setClientSize(int width, int height) override;
  void setBusyCursor(bool busy) override;
  void startTimers(uint32_t updateIntervalMs) override;
  void showCreditsBox(bool visible) override;
  void repaint() override;

  // The main window is going: its notification-area icon goes with it.
  void removeNoticeIcon() { tray_.remove(); }
  // Text for a canvas over this surface goes straight into it.
  void drawTextInto(const DibSurface* surface) { text_.drawInto(surface); }
  // The show command the entry was given, for the first showing.
  int showCommand = SW_SHOWNORMAL;

 private:
  HWND owner() const { return window_.window.load(); }

  MainWindow& window_;
  GdiTextRenderer text_;
  InstanceLock lock_;
  TrayNotice tray_;
};

}  // namespace orelog
