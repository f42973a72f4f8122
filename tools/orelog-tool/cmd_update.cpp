// orelog-tool update [--cycles N]: update cycles on config.json in the current folder, as the game runs them.
#include <charconv>
#include <cstdio>
#include <optional>

#include "commands.h"
#include "pool/response_buffer.h"
#include "app/update_cycle.h"
#include "game/worker_watch.h"
#include "profile/player_record.h"
#include "profile/settings.h"
#include "record_options.h"
#include "tool_platform.h"

namespace orelog::tool {
namespace {

constexpr int kDefaultCycles = 1;
constexpr int kMostCycles = 1000000;

// N from "--cycles N"; nullopt on any other argument or a count that is not 1 to kMostCycles.
std::optional<int> readCycles(const Args& args) {
  if (args.empty()) return kDefaultCycles;
  if (args.size() != 2 || args[0] != "--cycles") return std::nullopt;
  int cycles = 0;
  const std::string& text = args[1];
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), cycles);
  if (ec != std::errc() || end != text.data() + text.size() || cycles < 1 || cycles > kMostCycles) {
    return std::nullopt;
  }
  return cycles;
}

void printSummary(const PlayerRecord& record) {
  std::printf("level %d experience %lld points %d payout %.8f balance %.8f hashrate %lld workers %zu\n",
              record.level, static_cast<long long>(record.experience), record.points, record.payout,
              record.balance, static_cast<long long>(record.totalHashrate), record.workers.size());
  std::fflush(stdout);
}

}  // namespace

int runUpdate(const Args& args) {
  const auto cycles = readCycles(args);
  if (!cycles) {
    std::fputs("usage: orelog-tool update [--cycles N]   (N from 1)\n", stderr);
    return 2;
  }
  ToolPlatform platform;
  ResponseBuffer buffer;
  PlayerRecord record;
  const std::optional<std::filesystem::path> saveFile = loadRecordForSaving(record, platform);
  WorkerWatch watch;
  bool succeeded = false;
  for (int i = 0; i < *cycles; ++i) {
    succeeded = runUpdateCycle(record, platform, buffer, saveFile, &watch);
    if (succeeded) printSummary(record);
  }
  if (saveFile) saveSettings(record, *saveFile);  // once more at exit, as the game does
  return succeeded ? 0 : 1;
}

}  // namespace orelog::tool
