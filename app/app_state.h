// Everything the running program holds, owned by the front end and passed explicitly.
#pragma once
#include <filesystem>

#include "pool/response_buffer.h"
#include "profile/player_record.h"
#include "profile/settings.h"
#include "ui/canvas.h"
#include "ui/game_screen.h"

namespace orelog {

enum class ScreenMode { Connect = 0, Game = 1 };

struct AppState {
  PlayerRecord record;
  GameScreen screen;
  ResponseBuffer responseBuffer;
  SpriteSheets sheets;
  Canvas canvas = makeCanvas();
  ScreenMode mode = ScreenMode::Connect;
  bool cycleInProgress = false;  // a timer-driven cycle is skipped while another is running
  std::filesystem::path settingsFile = kSettingsFileName;
};

}  // namespace orelog
