// A platform that does nothing: tools and tests derive from it and override what they need.
#pragma once
#include "services/platform.h"

namespace orelog {

struct NullTextRenderer : TextRenderer {
  void drawText(Canvas&, std::u16string_view, int, int, FontSize, TextAlign, Pixel) override {}
  int textWidth(std::u16string_view, FontSize) override { return 0; }
};

struct NullPlatform : Platform {
  uint32_t tickCount() override { return 0; }
  ZonedDateTime localTime() override { return {{1970, 1, 1, 0, 0, 0}, 0}; }
  bool acquireInstanceLock() override { return true; }
  void releaseInstanceLock() override {}
  void raiseRunningCopy() override {}
  void showMessage(std::u16string_view, MessageOwner) override {}
  void showAbout() override {}
  std::optional<std::u16string> askPlayerName(std::u16string_view) override { return std::nullopt; }
  std::optional<std::string> askSavePath(std::u16string_view) override { return std::nullopt; }
  void openLink(std::string_view) override {}
  void showNotice(std::u16string_view, std::u16string_view) override {}
  HttpResult httpGet(const HttpRequest&, std::span<uint8_t>, const FetchCancel&) override {
    return httpFailed(HttpFailure::Unreachable);
  }
  void postToUiThread(std::function<void()>) override {}
  TextRenderer& textRenderer() override { return nullText_; }
  bool encodePng(const Canvas&, const std::string&) override { return false; }
  void fillConnectControls(const ConnectControlsContent&) override {}
  std::u16string connectFieldText(ConnectField) override { return {}; }
  void setConnectControlsEnabled(bool) override {}
  void hideConnectControls() override {}
  void showMainWindow() override {}
  void setClientSize(int, int) override {}
  void setBusyCursor(bool) override {}
  void startTimers(uint32_t) override {}
  void showCreditsBox(bool) override {}
  void repaint() override {}

 private:
  NullTextRenderer nullText_;
};

}  // namespace orelog
