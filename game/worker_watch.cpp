// Which characters' workers stopped or ran again between two successful updates.
#include "game/worker_watch.h"

#include <algorithm>
#include <cstddef>

#include "game/characters.h"

namespace orelog {
namespace {

using Workers = std::map<std::string, double>;

// Stops remembered for workers no longer listed, which may come back; the oldest are forgotten
// first, so a pool that keeps inventing names cannot grow the list.
constexpr std::size_t kMostRememberedStops = kMaxCharacterSlots;

bool contains(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

std::u16string noticeText(const std::vector<std::string>& userNames, std::u16string_view close) {
  std::u16string text(kNoticeNamesOpen);
  for (std::size_t i = 0; i < userNames.size(); ++i) {
    if (i > 0) text += kNoticeNameSeparator;
    text += workerDisplayName(userNames[i]);
  }
  return text += close;
}

// Workers that were shown running and are now at 0 or gone, in name order.
std::vector<std::string> newlyStopped(const Workers& before, const Workers& workers) {
  std::vector<std::string> names;
  for (const auto& [name, hashrate] : before) {
    const auto now = workers.find(name);
    if (hashrate > 0 && (now == workers.end() || now->second <= 0)) names.push_back(name);
  }
  return names;
}

std::vector<std::string> runningAgain(const std::vector<std::string>& stopped, const Workers& shown) {
  std::vector<std::string> names;
  for (const auto& [name, hashrate] : shown) {
    if (hashrate > 0 && contains(stopped, name)) names.push_back(name);
  }
  return names;
}

// A stop stays remembered while its worker is shown at 0 or not listed at all; one listed without
// a character is out of sight and forgotten.
std::vector<std::string> stillStopped(const std::vector<std::string>& stopped, const Workers& workers,
                                      const Workers& shown) {
  std::vector<std::string> kept;
  for (const std::string& name : stopped) {
    const auto character = shown.find(name);
    const bool atRest = character != shown.end() && character->second <= 0;
    if (atRest || !workers.contains(name)) kept.push_back(name);
  }
  const std::size_t excess = kept.size() > kMostRememberedStops ? kept.size() - kMostRememberedStops : 0;
  kept.erase(kept.begin(), kept.begin() + static_cast<std::ptrdiff_t>(excess));
  return kept;
}

}  // namespace

std::vector<std::u16string> watchWorkers(WorkerWatch& watch, const Workers& workers) {
  Workers shown = shownWorkers(workers);
  std::vector<std::u16string> notices;
  if (watch.shown) {
    const auto stopped = newlyStopped(*watch.shown, workers);
    const auto running = runningAgain(watch.stopped, shown);
    if (!stopped.empty()) notices.push_back(noticeText(stopped, kNoticeStoppedClose));
    if (!running.empty()) notices.push_back(noticeText(running, kNoticeRunningClose));
    watch.stopped.insert(watch.stopped.end(), stopped.begin(), stopped.end());
    watch.stopped = stillStopped(watch.stopped, workers, shown);
  }
  watch.shown = std::move(shown);
  return notices;
}

}  // namespace orelog
