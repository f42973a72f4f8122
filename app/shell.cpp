// The shell logic: start-up order, the connect command, timers, painting, mouse, and the end.
#include "app/shell.h"

#include <algorithm>
#include <cassert>
#include <functional>
#include <memory>
#include <vector>
#include <utility>

#include "app/input_router.h"
#include "app/update_cycle.h"
#include "game/characters.h"
#include "profile/settings.h"
#include "ui/connect_screen.h"
#include "ui/log_page.h"
#include "util/utf.h"

namespace orelog {

namespace {

// Clears a flag when it goes out of scope, however the scope ends.
class FlagReset {
 public:
  explicit FlagReset(bool& flag) : flag_(flag) {}
  ~FlagReset() { flag_ = false; }
  FlagReset(const FlagReset&) = delete;
  FlagReset& operator=(const FlagReset&) = delete;

 private:
  bool& flag_;
};

using LoadedHistory = std::shared_ptr<std::optional<std::vector<HistoryRow>>>;

// The history is read once, on the pool thread of the first cycle: a file near its limit takes far
// longer to read than the window may wait.
std::function<void()> historyLoad(const AppState& app, const LoadedHistory& loaded) {
  if (app.screen.log.history.loaded) return {};
  return [loaded, file = historyFileBeside(app.settingsFile)] { *loaded = readHistoryRows(file); };
}

// Starts a cycle whose queries run off the user-interface thread; back on it, the figures are
// committed, any message shown, and then `then` learns whether the cycle succeeded.
void startCycle(AppState& app, Platform& platform, std::function<void(bool succeeded)> then) {
  assert(!app.cycleInProgress && "a cycle is started only when none is running");
  app.cycleInProgress = true;
  const auto loaded = std::make_shared<std::optional<std::vector<HistoryRow>>>();
  const auto finished = [&app, &platform, loaded, then = std::move(then)](const FetchedFigures& fetched) {
    bool succeeded = false;
    {
      FlagReset reset(app.cycleInProgress);
      if (app.mode == ScreenMode::Connect) platform.setBusyCursor(false);
      if (*loaded) setHistoryRows(app.screen.log.history, std::move(**loaded));
      succeeded = finishUpdateCycle(app.record, platform, fetched, recordSaveFile(app), &app.workerWatch,
                                    &app.screen.log.history);
      syncLogEvents(app.screen.log);
    }
    then(succeeded);
  };
  app.cycle.start(figuresQueryFor(app.record), platform, finished, historyLoad(app, loaded));
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
  platform.startTimers(updateIntervalMs(app.requestedUpdateIntervalMs, app.record.serverUrl));
}

void connectCycleFinished(AppState& app, Platform& platform, bool succeeded) {
  if (!succeeded) {
    platform.setConnectControlsEnabled(true);  // the connect screen stays, usable for another try
    return;
  }
  switchToGameScreen(app, platform);
}

void updateTimer(AppState& app, Platform& platform) {
  // While a cycle waits for the pool, or its message box is open, a further cycle waits for the
  // next firing instead of stacking up requests and boxes.
  if (app.cycleInProgress) return;
  startCycle(app, platform, [&app, &platform](bool) {
    rebuildCharacterSlots(app.screen.slots, app.record);
    platform.repaint();
  });
}

}  // namespace

std::u16string_view savesOffMessage(SavesOff why) {
  switch (why) {
    case SavesOff::Unreadable: return kMessageRecordUnreadable;
    case SavesOff::TooLargeToSave: return kMessageRecordTooLarge;
    case SavesOff::No:
    case SavesOff::DamagedNotKeptAside: break;
  }
  return kMessageRecordNotSaved;
}

bool startUp(AppState& app, Platform& platform, const SheetLoader& loadSheets) {
  if (!platform.acquireInstanceLock()) {
    platform.showMessage(kMessageAlreadyRunning, MessageOwner::None);
    platform.raiseRunningCopy();  // once the box is closed, the copy the player wanted is in front
    return false;
  }
  auto sheets = loadSheets ? loadSheets() : std::nullopt;
  if (!sheets) {
    platform.showMessage(kMessageSheetsFailed, MessageOwner::None);
    platform.releaseInstanceLock();
    return false;
  }
  app.sheets = std::move(*sheets);
  // Falls back to defaults itself; a damaged file it could not keep aside is never overwritten.
  const SettingsLoad load = loadSettings(app.record, app.settingsFile, platform.tickCount());
  app.savesRecord = load.savesAllowed();
  app.mode = ScreenMode::Connect;
  platform.setClientSize(kConnectClientWidth, kConnectClientHeight);
  platform.fillConnectControls(connectControlsContent(app.record));
  initGameScreen(app.screen, app.record);
  platform.showMainWindow();
  if (!app.savesRecord) platform.showMessage(savesOffMessage(load.savesOff), MessageOwner::MainWindow);
  askNameIfMissing(app, platform);
  return true;
}

void shutDown(AppState& app, Platform& platform) {
  app.cycle.abandon();  // a request still waiting for the pool is broken off, its figures dropped
  saveRecord(app);  // a failure at the end is silent
  platform.releaseInstanceLock();
}

WindowPlacement initialPlacement(int screenWidth, int screenHeight, int outerWidth, int outerHeight,
                                 int scale) {
  return {(screenWidth - outerWidth) / 2, (screenHeight - outerHeight - kGrowthOnConnect * scale) / 2};
}

int canvasScale(int dpi, int workWidth, int workHeight, int frameWidth, int frameHeight) {
  int scale = std::max(1, dpi / kBaseDpi);
  // A window wider or taller than the work area is cut off at the screen's edge.
  while (scale > 1 && (kGameClientWidth * scale + frameWidth > workWidth ||
                       kGameClientHeight * scale + frameHeight > workHeight))
    --scale;
  return scale;
}

void connectCommand(AppState& app, Platform& platform) {
  // The button is gone after the switch, and a modal box of this command blocks a second press.
  if (app.mode != ScreenMode::Connect || app.cycleInProgress) return;
  platform.setConnectControlsEnabled(false);
  if (!validateAndStoreConnectFields(platform, app.record)) {
    platform.setConnectControlsEnabled(true);
    return;
  }
  if (!saveRecord(app)) {
    platform.setConnectControlsEnabled(true);
    platform.showMessage(kMessageSaveFailed, MessageOwner::MainWindow);
  }
  platform.setBusyCursor(true);
  startCycle(app, platform, [&app, &platform](bool succeeded) { connectCycleFinished(app, platform, succeeded); });
}

void aboutCommand(Platform& platform) {
  platform.showAbout();
}

void timerEvent(AppState& app, Platform& platform, int timerId) {
  if (app.mode != ScreenMode::Game) return;
  if (timerId == kAnimationTimerId) {
    // An idle page is not composed again: the window keeps showing the same picture.
    if (animationTick(app.screen, app.record, platform.tickCount())) platform.repaint();
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
