// The program's spine as plain functions a front end calls: start-up, paint, timers, commands,
// mouse, and the end.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "app/app_state.h"
#include "app/timers.h"
#include "res/resource_texts.h"
#include "services/platform.h"
#include "ui/canvas.h"

namespace orelog {

// The commands a front end hands on: the About box, the end of the program, and connecting.
enum class Command { None, About, Exit, Connect };

// The game screen shows the canvas pixel for pixel; the connect screen is as wide, only lower.
inline constexpr int kGameClientWidth = kCanvasWidth;
inline constexpr int kGameClientHeight = kCanvasHeight;
inline constexpr int kConnectClientWidth = kGameClientWidth;
inline constexpr int kConnectClientHeight = 62;
// The main window starts where the later, taller window is centred vertically.
inline constexpr int kGrowthOnConnect = kGameClientHeight - kConnectClientHeight;

inline constexpr std::u16string_view kWindowTitle = u"" ORELOG_WINDOW_TITLE;
inline constexpr std::u16string_view kMessageAlreadyRunning = u"既に起動しています。";
inline constexpr std::u16string_view kMessageSheetsFailed = u"画像データの読み込みに失敗しました。";
inline constexpr std::u16string_view kMessageSaveFailed = u"設定の保存に失敗しました。";
inline constexpr std::u16string_view kMessageRecordNotSaved =
    u"設定ファイルが壊れていて控えを残せないため、設定を保存せずに続けます。";
inline constexpr std::u16string_view kMessageRecordUnreadable =
    u"設定ファイル（config.json）を読み込めないため、設定を保存せずに続けます。"
    u"ファイルの所有者とアクセス権を確認してください。";
inline constexpr std::u16string_view kMessageRecordTooLarge =
    u"設定ファイルが大きすぎて保存できないため、設定を保存せずに続けます。"
    u"このまま遊んだ分は保存されません。";

// What the player is told, once at start-up, when the record is not saved in this run.
std::u16string_view savesOffMessage(SavesOff why);

// Gives the two decoded sprite sheets, or nullopt when they cannot be loaded.
using SheetLoader = std::function<std::optional<SpriteSheets>()>;

// Start-up up to the running program: instance lock, sheets, settings, connect screen, game-screen
// state, show, and the name dialog for a player without a name. False when the program must end
// at once with exit code 0 (the reason has been shown); nothing needs releasing then.
bool startUp(AppState& app, Platform& platform, const SheetLoader& loadSheets);

// The end of the program: a pool request still waiting is broken off, the record saved once more
// (silently) and the lock released.
void shutDown(AppState& app, Platform& platform);

// Where the main window goes on a screen of the given size, for a window of the given outer size
// (device pixels) showing each canvas pixel as scale x scale device pixels: where the taller game
// screen, once connected, will be centred.
struct WindowPlacement {
  int x = 0;
  int y = 0;
};
WindowPlacement initialPlacement(int screenWidth, int screenHeight, int outerWidth, int outerHeight,
                                 int scale = 1);

// The dpi at which one canvas pixel is one device pixel.
inline constexpr int kBaseDpi = 96;

// Device pixels per canvas pixel on a display of the given dpi: the largest whole multiple the dpi
// allows (dpi / 96) at which the game screen's window, its client area plus a frame of frameWidth
// x frameHeight, fits a work area of workWidth x workHeight; at least 1.
int canvasScale(int dpi, int workWidth, int workHeight, int frameWidth, int frameHeight);

// The connect button: validate, store, save, and start the first update cycle; when it succeeds,
// back on the user-interface thread, the switch to the game screen for good. The controls stay
// disabled, and the pointer busy, while the pool is asked.
void connectCommand(AppState& app, Platform& platform);

// The About box, in either screen mode.
void aboutCommand(Platform& platform);

// A timer event; only the game screen has timers to serve.
void timerEvent(AppState& app, Platform& platform, int timerId);

// Composes the game screen on app.canvas for the front end to copy; nothing on the connect
// screen, whose labels the front end paints itself.
void paintGameScreen(AppState& app, Platform& platform);

// Left button down, mouse moves and left button up, in signed client coordinates; ignored on the
// connect screen.
void mouseDown(AppState& app, Platform& platform, int32_t x, int32_t y);
void mouseMove(AppState& app, Platform& platform, int32_t x, int32_t y);
void mouseUp(AppState& app, Platform& platform);

}  // namespace orelog
