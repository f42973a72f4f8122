// Every service the portable core asks of a platform, and what a front end must do for the core.
//
// A front end's duties, in the order a program meets them:
//  [ ] Entry: build the main window (hidden), call startUp(); on false end with exit code 0.
//  [ ] Loop: run the event loop until the main window is gone, then call shutDown() and end.
//  [ ] Paint: on the connect screen paint the connect labels (ui/connect_layout); on the game
//      screen call paintGameScreen() and copy app.canvas to the window in one piece, each canvas
//      pixel a sharp square of a whole number of device pixels.
//  [ ] Input: hand left button down, moves and left button up to mouseDown/mouseMove/mouseUp in
//      canvas pixels; hand every key press to the core's accelerator check; the connect button to
//      connectCommand().
//  [ ] Timers: once startTimers() has been called, call timerEvent() with kAnimationTimerId every
//      83 ms and with kUpdateTimerId at the interval given, also while a modal box is open.
//  [ ] Posted tasks: run each task given to postToUiThread() on the user-interface thread from the
//      event loop (a modal box's loop included), in the order posted; drop them once the main
//      window is gone.
//  [ ] Notices: showNotice() shows a desktop notice with the title and text given and the game's
//      icon, and returns at once, never waiting for the desktop; where the desktop offers no
//      notices nothing is shown and nothing written to the terminal. Whatever the notices leave on
//      the desktop (a notification-area icon) is removed when the program ends.
//  [ ] Ending signals or a closed window during a pool request end the program at once: shutDown()
//      abandons the request.
//  [ ] No exception crosses a platform callback.
//
// Threads: every call comes from the one user-interface thread, except httpGet(), which the pool
// thread calls, and postToUiThread(), which any thread may call. Calls that show something modal
// (messages, dialogs) run a nested loop in which the front end keeps delivering timer events and
// posted tasks, as a Windows message box does. No call throws.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "services/http.h"
#include "util/pixels.h"
#include "util/date_time.h"

namespace orelog {

enum class FontSize { Small = 10, Medium = 13, Large = 16 };  // cell heights in pixels
enum class TextAlign { Left, Centre, Right };                 // anchored at x; top edge at y

// Draws text onto a canvas: transparent background, the face "ＭＳ Ｐゴシック" or its
// metric-compatible stand-in. Kept apart so pages and tests can use a recording renderer. The
// pages reach it through ui/draw_text, which has already cut the text at its first NUL and at
// 1024 units and dropped far-off anchors: a renderer draws what it is given.
struct TextRenderer {
  virtual ~TextRenderer() = default;
  virtual void drawText(Canvas& canvas, std::u16string_view text, int x, int y, FontSize font,
                        TextAlign align, Pixel colour) = 0;
  // How many pixels wide drawText would lay the text out (its advance, not its ink), so the core
  // can shorten a name to the room it has.
  virtual int textWidth(std::u16string_view text, FontSize font) = 0;
  // Whether the font (or a face it falls back to) has a glyph for the code point, so a name is
  // never drawn with the box of a missing one. A renderer that cannot tell says yes.
  virtual bool hasGlyph(char32_t codePoint, FontSize font) {
    (void)codePoint;
    (void)font;
    return true;
  }
  // Text over a busy picture: the text drawn in the outline colour one pixel off in each of the
  // eight directions, then in its own colour at its place. A renderer may draw it its own faster
  // way, alike to within the blends' rounding; this one is the plain nine draws.
  virtual void drawOutlinedText(Canvas& canvas, std::u16string_view text, int x, int y, FontSize font,
                                TextAlign align, Pixel colour, Pixel outline) {
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        if (dx != 0 || dy != 0) drawText(canvas, text, x + dx, y + dy, font, align, outline);
    drawText(canvas, text, x, y, font, align, colour);
  }
};

enum class MessageOwner { None, MainWindow };

enum class ConnectField { Pool, ApiKey };

// What the connect screen shows: the list entries of each box and which one is selected.
struct ConnectControlsContent {
  std::vector<std::u16string> poolEntries;
  int poolSelection = 0;
  std::vector<std::u16string> keyEntries;
  int keySelection = 0;
};

struct Platform {
  virtual ~Platform() = default;

  // Time.
  virtual uint32_t tickCount() = 0;  // milliseconds, wrapping at 2^32
  // Now, in the system's local time zone, with that zone's current offset: screenshot names and
  // history rows take their time from here.
  virtual ZonedDateTime localTime() = 0;

  // Single instance: false when another copy of the program holds the lock.
  virtual bool acquireInstanceLock() = 0;
  virtual void releaseInstanceLock() = 0;
  // Brings the copy that holds the lock to the front, its window given the focus.
  virtual void raiseRunningCopy() = 0;

  // Modal boxes and dialogs. Messages carry the caption "エラー" and one OK button.
  virtual void showMessage(std::u16string_view text, MessageOwner owner) = 0;
  virtual void showAbout() = 0;
  // The name dialog, pre-filled with current; nullopt when cancelled. At most 63 units come back.
  virtual std::optional<std::u16string> askPlayerName(std::u16string_view current) = 0;
  // The save dialog for a PNG file; nullopt when cancelled. The path comes back in UTF-8.
  virtual std::optional<std::string> askSavePath(std::u16string_view defaultName) = 0;
  virtual void openLink(std::string_view url) = 0;
  // A desktop notice beside the game, for the player who is not looking at it; see the duties.
  virtual void showNotice(std::u16string_view title, std::u16string_view text) = 0;

  // One blocking GET on the pool thread, as httpGet() of services/http.h with the platform's
  // time-outs; a Cancelled failure at once once cancel is set.
  virtual HttpResult httpGet(const HttpRequest& request, std::span<uint8_t> buffer, const FetchCancel& cancel) = 0;
  // Any thread: runs task on the user-interface thread from its event loop.
  virtual void postToUiThread(std::function<void()> task) = 0;

  virtual TextRenderer& textRenderer() = 0;
  virtual bool encodePng(const Canvas& canvas, const std::string& path) = 0;

  // The connect screen's three controls (pool box, API key box, connect button).
  virtual void fillConnectControls(const ConnectControlsContent& content) = 0;
  virtual std::u16string connectFieldText(ConnectField field) = 0;  // the whole text, any length
  virtual void setConnectControlsEnabled(bool enabled) = 0;
  virtual void hideConnectControls() = 0;

  // The main window: shown once at start-up, its client size (keeping its position), the busy
  // pointer while the first connect waits for the pool, the two timers, repaint.
  virtual void showMainWindow() = 0;
  virtual void setClientSize(int width, int height) = 0;
  virtual void setBusyCursor(bool busy) = 0;
  // Timer 0 every kAnimationIntervalMs, timer 1 every updateIntervalMs; never stopped.
  virtual void startTimers(uint32_t updateIntervalMs) = 0;
  virtual void showCreditsBox(bool visible) = 0;
  virtual void repaint() = 0;  // invalidate the whole window without erasing and paint at once
};

}  // namespace orelog
