// orelog-tool share_link (not built yet).
#include <cstdio>

#include "commands.h"

namespace orelog::tool {

int runShareLink(const Args&) {
  std::fputs("orelog-tool: this command is not built yet\n", stderr);
  return 1;
}

}  // namespace orelog::tool
