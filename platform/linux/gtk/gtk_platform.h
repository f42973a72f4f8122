// The platform services on GTK 3 and the Linux services: dialogs, widgets, timers, HTTP, text, PNG.
#pragma once
#include <gtk/gtk.h>

#include <atomic>
#include <functional>
#include <memory>

#include "instance_lock.h"
#include "main_window.h"
#include "pango_text.h"
#include "services/platform.h"
#include "services/system_services.h"

namespace orelog {

class GtkPlatform : public SystemServices<Platform> {
 public:
  using TimerHandler = std::function<void(int timerId)>;

  GtkPlatform(MainWindow& window, TimerHandler onTimer);
  ~GtkPlatform() override;
  GtkPlatform(const GtkPlatform&) = delete;
  GtkPlatform& operator=(const GtkPlatform&) = delete;

  uint32_t tickCount() override;
  bool acquireInstanceLock() override;
  void releaseInstanceLock() override;
  void raiseRunningCopy() override;
  void showMessage(std::u16string_view text, MessageOwner owner) override;
  void showAbout() override;
  std::optional<std::u16string> askPlayerName(std::u16string_view current) override;
  std::optional<std::string> askSavePath(std::u16string_view defaultName) override;
  void openLink(std::string_view url) override;
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

  // The window is gone: no timer fires and no posted task runs any more, widget calls become no-ops.
  void stopTimers();

 private:
  static gboolean onAnimationTimer(gpointer self);
  static gboolean onUpdateTimer(gpointer self);
  static gboolean onRaiseRequest(gint fd, GIOCondition condition, gpointer self);
  GtkWindow* ownerWindow() const;

  MainWindow& window_;
  TimerHandler onTimer_;
  PangoTextRenderer text_;
  InstanceLock lock_;
  guint raiseWatch_ = 0;
  guint animationTimer_ = 0;
  guint updateTimer_ = 0;
  // Shared with every posted task still queued, which runs only while the window is there.
  std::shared_ptr<std::atomic<bool>> windowAlive_ = std::make_shared<std::atomic<bool>>(true);
};

}  // namespace orelog
