// orelog-tool render PAGE FILE.png [--cycles N] [--frame F] [--hover I] [--no-text]: one game-screen
// page as PNG.
#include <cstdio>
#include <optional>
#include <string>

#include "commands.h"
#include "game/characters.h"
#include "picture_output.h"
#include "profile/history_log.h"
#include "record_options.h"
#include "ui/game_screen.h"
#include "ui/log_page.h"
#include "ui/sheet_decoding.h"

namespace orelog::tool {
namespace {

constexpr const char* kUsage =
    "usage: orelog-tool render PAGE FILE.png [--cycles N] [--frame F] [--hover I] [--no-text]   (PAGE 0 to "
    "6)\n";
std::optional<int32_t> readPage(const std::string& text) {
  if (text.size() != 1 || text[0] < '0' || text[0] > '6') return std::nullopt;
  return text[0] - '0';
}

// The game screen as the game shows it after its cycles: slots rebuilt, frame and hover set, and
// the log holding history.csv of the current folder.
GameScreen screenFor(const PlayerRecord& record, int32_t page, const RecordOptions& options) {
  GameScreen screen;
  initGameScreen(screen, record);
  rebuildCharacterSlots(screen.slots, record);
  screen.page = page;
  screen.frame = options.frame;
  screen.hoveredCharacter = options.hover;
  setHistoryRows(screen.log.history, readHistoryRows(kHistoryFileName));
  syncLogEvents(screen.log);
  return screen;
}

}  // namespace

int runRender(const Args& given) {
  Args args = given;
  const bool withText = !takeFlag(args, kNoTextFlag);
  const std::optional<int32_t> page = args.size() >= 2 ? readPage(args[0]) : std::nullopt;
  const auto options = readRecordOptions(args, 2, true);
  if (!page || !options) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::optional<SpriteSheets> sheets = loadSheetsOrSay();
  if (!sheets) return 1;
  ToolPlatform platform;
  PictureText text(withText);
  platform.text = &text.renderer();
  PlayerRecord record;
  if (!loadAndUpdate(record, platform, options->cycles)) return 1;

  const GameScreen screen = screenFor(record, *page, *options);
  Canvas canvas = makeCanvas();
  paintCurrentPage(canvas, screen, record, *sheets, platform.textRenderer());
  return writePngOrSay(canvas, args[1]) ? 0 : 1;
}

}  // namespace orelog::tool
