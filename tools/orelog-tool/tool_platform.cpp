// The command-line platform: messages on standard error, notices on standard output, the
// platform's fetch, monotonic ticks.
#include "tool_platform.h"

#include <chrono>
#include <cstdio>
#include <string>

#include "util/utf.h"

namespace orelog::tool {

uint32_t ToolPlatform::tickCount() {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  // Wraps at 2^32 milliseconds as the system tick counter does.
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

void ToolPlatform::showMessage(std::u16string_view text, MessageOwner) {
  const std::string line = utf16ToUtf8(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

void ToolPlatform::showNotice(std::u16string_view, std::u16string_view text) {
  const std::string line = "notice: " + utf16ToUtf8(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
}

TextRenderer& ToolPlatform::textRenderer() {
  return text ? *text : NullPlatform::textRenderer();
}

}  // namespace orelog::tool
