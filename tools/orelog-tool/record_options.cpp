// Options of render and share-link, and the load and update cycles that come before them.
#include "record_options.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <vector>
#include <string_view>

#include "pool/response_buffer.h"
#include "app/shell.h"
#include "app/update_cycle.h"
#include "profile/settings.h"

namespace orelog::tool {
namespace {

constexpr int kMostCycles = 1000000;
constexpr uint64_t kMostHover = 1000000;

template <typename Number>
std::optional<Number> wholeNumber(const std::string& text, Number most) {
  Number value{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < 0 || value > most) return std::nullopt;
  return value;
}

// Applies one option; false when the name is unknown here or the value does not read.
bool applyOption(RecordOptions& options, std::string_view name, const std::string& value, bool allowScreen) {
  if (name == "--cycles") {
    const auto cycles = wholeNumber<int>(value, kMostCycles);
    if (cycles) options.cycles = *cycles;
    return cycles.has_value();
  }
  if (allowScreen && name == "--frame") {
    const auto frame = wholeNumber<uint64_t>(value, UINT64_MAX);
    if (frame) options.frame = *frame;
    return frame.has_value();
  }
  if (allowScreen && name == "--hover") {
    const auto hover = wholeNumber<uint64_t>(value, kMostHover);
    if (hover) options.hover = static_cast<std::size_t>(*hover);
    return hover.has_value();
  }
  return false;
}

}  // namespace

bool takeFlag(Args& args, const char* flag) {
  const auto found = std::find(args.begin(), args.end(), flag);
  if (found == args.end()) return false;
  args.erase(found);
  return true;
}

std::optional<int> wholeNumberIn(const std::string& text, int least, int most) {
  const auto value = wholeNumber<int>(text, most);
  if (!value || *value < least) return std::nullopt;
  return value;
}

std::optional<RecordOptions> readRecordOptions(const Args& args, std::size_t first, bool allowScreen) {
  RecordOptions options;
  std::vector<std::string_view> seen;
  for (std::size_t i = first; i < args.size(); i += 2) {
    const std::string_view name = args[i];
    if (i + 1 >= args.size() || std::find(seen.begin(), seen.end(), name) != seen.end()) return std::nullopt;
    if (!applyOption(options, name, args[i + 1], allowScreen)) return std::nullopt;
    seen.push_back(name);
  }
  return options;
}

std::optional<std::filesystem::path> loadRecordForSaving(PlayerRecord& record, ToolPlatform& platform) {
  const SettingsLoad load = loadSettings(record, kSettingsFileName, platform.tickCount());
  if (load.savesAllowed()) return std::filesystem::path(kSettingsFileName);
  platform.showMessage(savesOffMessage(load.savesOff), MessageOwner::None);
  return std::nullopt;
}

bool loadAndUpdate(PlayerRecord& record, ToolPlatform& platform, int cycles) {
  const std::optional<std::filesystem::path> saveFile = loadRecordForSaving(record, platform);
  ResponseBuffer buffer;
  for (int i = 0; i < cycles; ++i) {
    if (!runUpdateCycle(record, platform, buffer, saveFile)) return false;
  }
  return true;
}

}  // namespace orelog::tool
