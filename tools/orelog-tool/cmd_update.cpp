// orelog-tool update (not built yet).
#include <cstdio>

#include "commands.h"

namespace orelog::tool {

int runUpdate(const Args&) {
  std::fputs("orelog-tool: this command is not built yet\n", stderr);
  return 1;
}

}  // namespace orelog::tool
