// The subcommands of orelog-tool; each takes the arguments after its name.
#pragma once
#include <string>
#include <vector>

namespace orelog::tool {

using Args = std::vector<std::string>;

// Exit codes: 0 success, 1 failure, 2 usage error.
int runUpdate(const Args& args);
int runSprites(const Args& args);
int runRender(const Args& args);
int runShareLink(const Args& args);
int runHistory(const Args& args);

}  // namespace orelog::tool
