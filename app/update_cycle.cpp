// The pool update cycle as the app runs it: commit, message, experience tick, save.
#include "app/update_cycle.h"

#include "app/shell.h"
#include "game/levels.h"
#include "profile/history_append.h"
#include "profile/history_rows.h"
#include "profile/settings.h"

namespace orelog {

namespace {

// A row in history.csv beside the record; a failed append is silent, as a failed save is. The log
// gets the row as the file holds it.
void recordHistory(const PlayerRecord& record, Platform& platform, const std::filesystem::path& settingsFile,
                   HistoryLog* log) {
  const std::string line = historyRowLine(record, platform.localTime());
  const bool added = appendHistoryRow(historyFileBeside(settingsFile), line);
  if (!added || !log) return;
  if (auto row = parseHistoryRow(std::string_view(line).substr(0, line.size() - kHistoryLineEnd.size())))
    addHistoryRow(*log, std::move(*row));
}

}  // namespace

std::filesystem::path historyFileBeside(const std::filesystem::path& settingsFile) {
  return settingsFile.parent_path() / kHistoryFileName;
}

HttpFetch platformFetch(Platform& platform, const FetchCancel& cancel) {
  return [&platform, &cancel](const HttpRequest& request, std::span<uint8_t> buffer) {
    return platform.httpGet(request, buffer, cancel);
  };
}

bool finishUpdateCycle(PlayerRecord& record, Platform& platform, const FetchedFigures& fetched,
                       const std::optional<std::filesystem::path>& settingsFile, WorkerWatch* watch,
                       HistoryLog* log) {
  applyPoolFigures(record, fetched.figures);
  if (fetched.failure) {
    platform.showMessage(*fetched.failure, MessageOwner::None);
    return false;
  }
  experienceTick(record);
  if (settingsFile) {
    saveSettings(record, *settingsFile);  // a failed save is silent; the next cycle saves again
    recordHistory(record, platform, *settingsFile, log);
  }
  if (watch) {
    for (const auto& notice : watchWorkers(*watch, record.workers)) platform.showNotice(kWindowTitle, notice);
  }
  return true;
}

bool runUpdateCycle(PlayerRecord& record, Platform& platform, ResponseBuffer& buffer,
                    const std::optional<std::filesystem::path>& settingsFile, WorkerWatch* watch) {
  const FetchCancel neverCancelled;
  const FetchedFigures fetched = fetchPoolFigures(figuresQueryFor(record), platformFetch(platform, neverCancelled), buffer);
  return finishUpdateCycle(record, platform, fetched, settingsFile, watch);
}

}  // namespace orelog
