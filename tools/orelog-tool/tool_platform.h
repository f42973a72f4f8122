// The platform of orelog-tool: messages on standard error, notices on standard output, the platform's fetch, the real clocks.
#pragma once
#include "services/http.h"
#include "services/null_platform.h"
#include "services/system_services.h"

namespace orelog::tool {

struct ToolPlatform : SystemServices<NullPlatform> {
  TextRenderer* text = nullptr;  // the render command plugs in a real renderer; none draws nothing

  uint32_t tickCount() override;
  // Each message as one UTF-8 line on standard error.
  void showMessage(std::u16string_view text, MessageOwner owner) override;
  // Each notice as a line "notice: TEXT" on standard output; the title is the game's own.
  void showNotice(std::u16string_view title, std::u16string_view text) override;
  TextRenderer& textRenderer() override;
};

}  // namespace orelog::tool
