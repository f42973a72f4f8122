// Telling the player when a worker shown as a character stops, and when a stopped one runs again.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orelog {

// "ワーカー「rig1、gpu0」が止まりました。": the names as the characters show them, in their order.
inline constexpr std::u16string_view kNoticeNamesOpen = u"ワーカー「";
inline constexpr std::u16string_view kNoticeNameSeparator = u"、";
inline constexpr std::u16string_view kNoticeStoppedClose = u"」が止まりました。";
inline constexpr std::u16string_view kNoticeRunningClose = u"」が動き出しました。";

// What one run remembers between successful updates; never saved.
struct WorkerWatch {
  // The workers shown as characters after the previous successful update, by user name; nullopt
  // until the run's first update.
  std::optional<std::map<std::string, double>> shown;
  // Workers whose stop was told and that have not run again since, oldest stop first.
  std::vector<std::string> stopped;
};

// Compares the workers of a successful update with those of the previous one. A worker that had a
// character and a hashrate above 0 has stopped when it is now at 0 or below, or no longer listed;
// a stopped one with a character and a hashrate above 0 runs again. Gives the notices to show:
// none at the run's first update, otherwise at most one for the stopped ones, then one for those
// running again. A failed update is never shown here, so the next one compares with the last good.
std::vector<std::u16string> watchWorkers(WorkerWatch& watch, const std::map<std::string, double>& workers);

}  // namespace orelog
