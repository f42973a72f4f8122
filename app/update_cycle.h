// The pool update cycle as the app runs it: the fetched figures committed, the failed step's
// message, the experience tick and the save.
#pragma once
#include <filesystem>
#include <optional>

#include "game/worker_watch.h"
#include "profile/history_log.h"
#include "services/platform.h"
#include "pool/figures_fetch.h"

namespace orelog {

// The fetch a cycle uses: the platform's GET, broken off by cancel.
HttpFetch platformFetch(Platform& platform, const FetchCancel& cancel);

// The user-interface thread's half of a cycle. Commits what the queries fetched (also before a
// failed step), then shows the failed step's message and returns false; or runs the experience
// tick, saves (a failed save is silent and still counts as success) and adds a row to history.csv
// beside the record (as silently; no settingsFile: the program runs without saving and writes
// neither), shows a desktop notice for each change the watch finds in the workers, when there is a
// watch, and returns true. The row written is added to the log, when there is one.
bool finishUpdateCycle(PlayerRecord& record, Platform& platform, const FetchedFigures& fetched,
                       const std::optional<std::filesystem::path>& settingsFile, WorkerWatch* watch = nullptr,
                       HistoryLog* log = nullptr);

// history.csv, beside the record.
std::filesystem::path historyFileBeside(const std::filesystem::path& settingsFile);

// A whole cycle on the calling thread, for the command-line tool. Keeps no state of its own, so a
// cycle started from inside a message box of another is safe.
bool runUpdateCycle(PlayerRecord& record, Platform& platform, ResponseBuffer& buffer,
                    const std::optional<std::filesystem::path>& settingsFile, WorkerWatch* watch = nullptr);

}  // namespace orelog
