// The cancel shared by the user-interface thread and a fetch on the pool thread.
#include "services/http.h"

#include <utility>

namespace orelog {

// The hook runs under the lock, so once clearInterrupt has returned it is neither running nor
// going to run: the back end may then free what the hook would have closed.
void FetchCancel::cancel() {
  std::lock_guard lock(mutex_);
  cancelled_ = true;
  if (auto hook = std::exchange(interrupt_, nullptr)) hook();
}

bool FetchCancel::cancelled() const {
  std::lock_guard lock(mutex_);
  return cancelled_;
}

bool FetchCancel::setInterrupt(std::function<void()> hook) const {
  std::lock_guard lock(mutex_);
  if (cancelled_) return false;
  interrupt_ = std::move(hook);
  return true;
}

void FetchCancel::clearInterrupt() const {
  std::lock_guard lock(mutex_);
  interrupt_ = nullptr;
}

namespace {
constexpr int kLowestPort = 1;
constexpr int kHighestPort = 65535;
}  // namespace

std::optional<HttpResult> refusedRequest(const HttpRequest& request, std::span<const uint8_t> buffer) {
  if (request.port < kLowestPort || request.port > kHighestPort) return httpFailed(HttpFailure::Unreachable);
  if (buffer.empty() || request.target.empty() || request.target.front() != u'/')
    return httpFailed(HttpFailure::Broken);
  return std::nullopt;
}

}  // namespace orelog
