// Every service the portable core asks of a platform. Front ends implement it; the core calls it.
//
// Contract: all calls come from the one user-interface thread. Calls that show something modal
// (messages, dialogs) run a nested loop in which the front end keeps delivering timer events to the
// app, as a Windows message box does. No call throws.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/canvas.h"

namespace orelog {

enum class FontSize { Small = 10, Medium = 13, Large = 16 };  // cell heights in pixels
enum class TextAlign { Left, Centre, Right };                  // anchored at x; top edge at y

// Draws text onto a canvas: transparent background, the face "ＭＳ Ｐゴシック" or its
// metric-compatible stand-in. Kept apart so pages and tests can use a recording renderer.
struct TextRenderer {
  virtual ~TextRenderer() = default;
  virtual void drawText(Canvas& canvas, std::u16string_view text, int x, int y, FontSize font,
                        TextAlign align, Pixel colour) = 0;
};

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

struct HttpRequest {
  std::u16string host;
  int port = 0;
  bool secure = false;
  std::u16string target;  // path and query, beginning with "/"
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
  virtual LocalTime localTime() = 0;

  // Single instance: false when another copy of the program holds the lock.
  virtual bool acquireInstanceLock() = 0;
  virtual void releaseInstanceLock() = 0;

  // Modal boxes and dialogs. Messages carry the caption "エラー" and one OK button.
  virtual void showMessage(std::u16string_view text, MessageOwner owner) = 0;
  virtual void showAbout() = 0;
  // The name dialog, pre-filled with current; nullopt when cancelled. At most 63 units come back.
  virtual std::optional<std::u16string> askPlayerName(std::u16string_view current) = 0;
  // The save dialog for a PNG file; nullopt when cancelled. The path comes back in UTF-8.
  virtual std::optional<std::string> askSavePath(std::u16string_view defaultName) = 0;
  virtual void openLink(std::string_view url) = 0;

  // One blocking GET; the body goes to the start of buffer. Returns its length, or -1 on any
  // failure, including a body that does not leave one byte of the buffer free.
  virtual int httpGet(const HttpRequest& request, std::span<uint8_t> buffer) = 0;

  virtual TextRenderer& textRenderer() = 0;
  virtual std::optional<Image> decodePng(std::span<const uint8_t> bytes) = 0;
  virtual bool encodePng(const Canvas& canvas, const std::string& path) = 0;

  // The connect screen's three controls (pool box, API key box, connect button).
  virtual void fillConnectControls(const ConnectControlsContent& content) = 0;
  virtual std::u16string connectFieldText(ConnectField field) = 0;  // the whole text, any length
  virtual void setConnectControlsEnabled(bool enabled) = 0;
  virtual void hideConnectControls() = 0;

  // The main window: shown once at start-up, its client size (keeping its position), the two
  // timers, repaint.
  virtual void showMainWindow() = 0;
  virtual void setClientSize(int width, int height) = 0;
  virtual void startTimers() = 0;  // timer 0 every 83 ms, timer 1 every 150000 ms
  virtual void showCreditsBox(bool visible) = 0;
  virtual void repaint() = 0;  // invalidate the whole window without erasing and paint at once
};

}  // namespace orelog
