// The two timers of the game screen, and the shorter update interval demos and tests may ask for.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orelog {

inline constexpr int kAnimationTimerId = 0;
inline constexpr int kUpdateTimerId = 1;
inline constexpr uint32_t kAnimationIntervalMs = 83;
inline constexpr uint32_t kUpdateIntervalMs = 150000;
// A demo pool on this machine may be asked every few seconds; a real pool never more often than
// every kUpdateIntervalMs.
inline constexpr uint32_t kShortestUpdateIntervalSeconds = 2;
inline constexpr uint32_t kLongestUpdateIntervalSeconds = kUpdateIntervalMs / 1000;
inline constexpr std::string_view kUpdateIntervalOption = "--update-interval";
inline constexpr std::string_view kCommandLineUsage =
    "usage: orelog [--update-interval SECONDS]   (2 to 150; only for a pool on 127.0.0.1 or localhost)\n";

// The options of the game's command line; nullopt when an argument is not understood.
struct CommandLine {
  std::optional<uint32_t> updateIntervalMs;
};
std::optional<CommandLine> readCommandLine(std::span<const std::string> args);

// The update timer's interval: the one asked for when the pool is on this machine (its address
// names a loopback host), otherwise kUpdateIntervalMs.
uint32_t updateIntervalMs(std::optional<uint32_t> requestedMs, const std::u16string& serverUrl);

}  // namespace orelog
