// The pool update cycle as the app runs it: commit, message, experience tick, save.
#include "app/update_cycle.h"

#include "game/levels.h"
#include "profile/settings.h"

namespace orelog {

HttpFetch platformFetch(Platform& platform, const FetchCancel& cancel) {
  return [&platform, &cancel](const HttpRequest& request, std::span<uint8_t> buffer) {
    return platform.httpGet(request, buffer, cancel);
  };
}

bool finishUpdateCycle(PlayerRecord& record, Platform& platform, const FetchedFigures& fetched,
                       const std::filesystem::path& settingsFile) {
  applyPoolFigures(record, fetched.figures);
  if (fetched.failure) {
    platform.showMessage(*fetched.failure, MessageOwner::None);
    return false;
  }
  experienceTick(record);
  saveSettings(record, settingsFile);  // a failed save is silent; the next cycle saves again
  return true;
}

bool runUpdateCycle(PlayerRecord& record, Platform& platform, ResponseBuffer& buffer,
                    const std::filesystem::path& settingsFile) {
  const FetchCancel neverCancelled;
  const FetchedFigures fetched = fetchPoolFigures(record, platformFetch(platform, neverCancelled), buffer);
  return finishUpdateCycle(record, platform, fetched, settingsFile);
}

}  // namespace orelog
