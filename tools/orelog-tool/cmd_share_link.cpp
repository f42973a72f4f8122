// orelog-tool share-link [--cycles N]: prints the link the share button would open.
#include <cstdio>

#include "commands.h"
#include "record_options.h"
#include "share/share_link.h"

namespace orelog::tool {

int runShareLink(const Args& args) {
  const auto options = readRecordOptions(args, 0, false);
  if (!options) {
    std::fputs("usage: orelog-tool share-link [--cycles N]\n", stderr);
    return 2;
  }
  ToolPlatform platform;
  PlayerRecord record;
  if (!loadAndUpdate(record, platform, options->cycles)) return 1;
  std::printf("%s\n", shareLink(record).c_str());
  return 0;
}

}  // namespace orelog::tool
