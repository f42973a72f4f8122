// The shell logic: start-up order, the connect command, timers, painting, mouse, and the end.
#include "app/shell.h"

#include <cassert>

#include "app/input_router.h"
#include "game/characters.h"
#include "pool/update_cycle.h"
#include "profile/settings.h"
#include "ui/connect_screen.h"
#include "util/utf.h"

namespace orelog {

namespace {

// Marks a cycle as running for exactly as long as this object lives, whatever way the cycle ends.
class CycleGuard {
 public:
  explicit CycleGuard(bool& flag) : flag_(flag) {
    assert(!flag_ && "a cycle is started only when none is running");
    flag_ = true;
  }
  ~CycleGuard() { flag_ = false; }
  CycleGuard(const CycleGuard&) = delete;
  CycleGuard& operator=(const CycleGuard&) = delete;

 private:
  bool& flag_;
};

bool runGuardedCycle(AppState& app, Platform& platform) {
  CycleGuard guard(app.cycleInProgress);
  return runUpdateCycle(app.record, platform, app.responseBuffer, app.settingsFile);
}

// The name dialog keeps its answer in the record; it reaches the file with the next save.
void askNameIfMissing(AppState& app, Platform& platform) {
  if (!app.record.playerName.empty()) return;
  const auto name = platform.askPlayerName(app.record.playerName);
  if (name) app.record.playerName = truncateUtf16(*name, kPlayerNameMaxUnits);
}

void switchToGameScreen(AppState& app, Platform& platform) {
  rebuildCharacterSlots(app.screen.slots, app.record);
  app.mode = ScreenMode::Game;
  platform.hideConnectControls();
  platform.setConnectControlsEnabled(true);
  platform.repaint();
  platform.setClientSize(kGameClientWidth, kGameClientHeight);
  platform.startTimers();
}

void updateTimer(AppState& app, Platform& platform) {
  // While a cycle's message box is open its loop still delivers timers; a further cycle then
  // waits for the next firing instead of stacking up more boxes.
  if (app.cycleInProgress) return;
  runGuardedCycle(app, platform);
  rebuildCharacterSlots(app.screen.slots, app.record);
}

}  // namespace

bool startUp(AppState& app, Platform& platform, const SheetLoader& loadSheets) {
  if (!platform.acquireInstanceLock()) {
    platform.showMessage(kMessageAlreadyRunning, MessageOwner::None);
    return false;
  }
  auto sheets = loadSheets ? loadSheets() : std::nullopt;
  if (!sheets) {
    platform.showMessage(kMessageSheetsFailed, MessageOwner::None);
    platform.releaseInstanceLock();
    return false;
  }
  app.sheets = std::move(*sheets);
  loadSettings(app.record, app.settingsFile, platform.tickCount());  // falls back to defaults itself
  app.mode = ScreenMode::Connect;
  platform.setClientSize(kConnectClientWidth, kConnectClientHeight);
  platform.fillConnectControls(connectControlsContent(app.record));
  initGameScreen(app.screen, app.record);
  platform.showMainWindow();
  askNameIfMissing(app, platform);
  return true;
}

void shutDown(AppState& app, Platform& platform) {
  saveSettings(app.record, app.settingsFile);  // a failure at the end is silent
  platform.releaseInstanceLock();
}

WindowPlacement initialPlacement(int screenWidth, int screenHeight, int outerWidth, int outerHeight) {
  return {(screenWidth - outerWidth) / 2, (screenHeight - outerHeight - kGrowthOnConnect) / 2};
}

void connectCommand(AppState& app, Platform& platform) {
  // The button is gone after the switch, and a modal box of this command blocks a second press.
  if (app.mode != ScreenMode::Connect || app.cycleInProgress) return;
  platform.setConnectControlsEnabled(false);
  if (!validateAndStoreConnectFields(platform, app.record)) {
    platform.setConnectControlsEnabled(true);
    return;
  }
  if (!saveSettings(app.record, app.settingsFile)) {
    platform.setConnectControlsEnabled(true);
    platform.showMessage(kMessageSaveFailed, MessageOwner::MainWindow);
  }
  if (!runGuardedCycle(app, platform)) {
    platform.setConnectControlsEnabled(true);
    return;
  }
  switchToGameScreen(app, platform);
}

void aboutCommand(Platform& platform) {
  platform.showAbout();
}

void timerEvent(AppState& app, Platform& platform, int timerId) {
  if (app.mode != ScreenMode::Game) return;
  if (timerId == kAnimationTimerId) {
    animationTick(app.screen, app.record, platform.tickCount());
    platform.repaint();
  } else if (timerId == kUpdateTimerId) {
    updateTimer(app, platform);
  }
}

void paintGameScreen(AppState& app, Platform& platform) {
  if (app.mode != ScreenMode::Game) return;
  paintCurrentPage(app.canvas, app.screen, app.record, app.sheets, platform.textRenderer());
}

void mouseDown(AppState& app, Platform& platform, int32_t x, int32_t y) {
  if (app.mode == ScreenMode::Game) clickGameScreen(app, platform, x, y);
}

void mouseMove(AppState& app, Platform& platform, int32_t x, int32_t y) {
  if (app.mode == ScreenMode::Game) hoverGameScreen(app, platform, x, y);
}

void mouseUp(AppState& app, Platform& platform) {
  if (app.mode == ScreenMode::Game) releaseGameScreen(app, platform);
}

}  // namespace orelog
