// The update interval: read from the command line, granted only for a pool on this machine.
#include "app/timers.h"

#include <charconv>
#include <variant>

#include "pool/pool_address.h"

namespace orelog {
namespace {

std::optional<uint32_t> readSeconds(const std::string& text) {
  uint32_t seconds = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (seconds < kShortestUpdateIntervalSeconds || seconds > kLongestUpdateIntervalSeconds) return std::nullopt;
  return seconds;
}

}  // namespace

std::optional<CommandLine> readCommandLine(std::span<const std::string> args) {
  CommandLine line;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] != kUpdateIntervalOption || i + 1 == args.size()) return std::nullopt;
    const auto seconds = readSeconds(args[++i]);
    if (!seconds) return std::nullopt;
    line.updateIntervalMs = *seconds * 1000;
  }
  return line;
}

uint32_t updateIntervalMs(std::optional<uint32_t> requestedMs, const std::u16string& serverUrl) {
  if (!requestedMs) return kUpdateIntervalMs;
  const auto parsed = parsePoolUrl(serverUrl);
  const auto* address = std::get_if<PoolAddress>(&parsed);
  return address && isLoopbackHost(address->host) ? *requestedMs : kUpdateIntervalMs;
}

}  // namespace orelog
