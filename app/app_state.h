// Everything the running program holds, owned by the front end and passed explicitly.
#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>

#include "app/background_cycle.h"
#include "game/worker_watch.h"
#include "profile/player_record.h"
#include "profile/settings.h"
#include "ui/canvas.h"
#include "ui/game_screen.h"

namespace orelog {

enum class ScreenMode { Connect = 0, Game = 1 };

struct AppState {
  PlayerRecord record;
  GameScreen screen;
  SpriteSheets sheets;
  Canvas canvas = makeCanvas();
  ScreenMode mode = ScreenMode::Connect;
  bool cycleInProgress = false;  // from the start of a cycle until its message box is closed
  BackgroundCycle cycle;
  WorkerWatch workerWatch;  // the workers at the last successful update, for the desktop notices
  std::filesystem::path settingsFile = kSettingsFileName;
  // False while a damaged record that could not be kept aside is in place: it is never overwritten.
  bool savesRecord = true;
  // The update interval asked for on the command line; it applies only to a pool on this machine.
  std::optional<uint32_t> requestedUpdateIntervalMs;
};

// Where the record is saved: nowhere while saving is off.
inline std::optional<std::filesystem::path> recordSaveFile(const AppState& app) {
  if (!app.savesRecord) return std::nullopt;
  return app.settingsFile;
}

// Saves the record where it is kept; false only when a save was due and failed. While saving is off
// nothing is written and nothing has failed: the player was told so at start-up.
inline bool saveRecord(const AppState& app) {
  return !app.savesRecord || saveSettings(app.record, app.settingsFile);
}

}  // namespace orelog
