// The platform of orelog-tool: messages on standard error, the platform's fetch, the real clocks.
#pragma once
#include "services/http.h"
#include "services/null_platform.h"

namespace orelog::tool {

struct ToolPlatform : NullPlatform {
  HttpTimeouts timeouts;
  TextRenderer* text = nullptr;  // the render command plugs in a real renderer; none draws nothing

  uint32_t tickCount() override;
  DateTime localTime() override;
  // Each message as one UTF-8 line on standard error.
  void showMessage(std::u16string_view text, MessageOwner owner) override;
  int httpGet(const HttpRequest& request, std::span<uint8_t> buffer, const FetchCancel& cancel) override;
  TextRenderer& textRenderer() override;
};

}  // namespace orelog::tool
