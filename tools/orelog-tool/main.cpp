// orelog-tool: the game's core without a window, working on config.json in the current folder.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "commands.h"
#include "util/version.h"

namespace {

struct Command {
  std::string_view name;
  int (*run)(const orelog::tool::Args&);
  std::string_view usage;
};

constexpr Command kCommands[] = {
    {"update", orelog::tool::runUpdate, "update [--cycles N]"},
    {"render", orelog::tool::runRender, "render PAGE FILE.png [--cycles N] [--frame F] [--hover I] [--no-text]"},
    {"share-link", orelog::tool::runShareLink, "share-link [--cycles N]"},
    {"sprites", orelog::tool::runSprites, "sprites FILE.png"},
    {"history", orelog::tool::runHistory, "history FILE.png [--days N] [--no-text]"},
};

int usage() {
  std::fputs("usage:\n", stderr);
  for (const auto& command : kCommands) std::fprintf(stderr, "  orelog-tool %s\n", command.usage.data());
  std::fprintf(stderr, "  orelog-tool %s\n", orelog::kVersionOption.data());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (orelog::asksForVersion(args)) return orelog::printVersionLine();
  if (argc < 2) return usage();
  const std::string_view name = argv[1];
  for (const auto& command : kCommands) {
    if (command.name == name) return command.run(orelog::tool::Args(argv + 2, argv + argc));
  }
  return usage();
}
