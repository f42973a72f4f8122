// The network half of an update cycle on a thread of its own; the result is posted back.
#include "app/background_cycle.h"

#include <cassert>
#include <utility>

#include "app/update_cycle.h"

namespace orelog {

void BackgroundCycle::start(FiguresQuery query, Platform& platform, Finished finished,
                            std::function<void()> alongside) {
  assert(!thread_.joinable() && "one fetch at a time");
  cancel_ = std::make_shared<FetchCancel>();
  const uint64_t generation = ++generation_;
  thread_ = std::thread([this, &platform, generation, query = std::move(query), cancel = cancel_,
                         buffer = buffer_, finished = std::move(finished), alongside = std::move(alongside)]() mutable {
    if (alongside) alongside();
    auto fetched = std::make_shared<FetchedFigures>(
        fetchPoolFigures(std::move(query), platformFetch(platform, *cancel), *buffer));
    if (cancel->cancelled()) return;
    platform.postToUiThread([this, generation, fetched, finished = std::move(finished)] {
      deliver(generation, *fetched, finished);
    });
  });
}

void BackgroundCycle::deliver(uint64_t generation, const FetchedFigures& fetched, const Finished& finished) {
  if (generation != generation_ || !thread_.joinable()) return;  // abandoned meanwhile
  thread_.join();  // its last act was posting this task
  finished(fetched);
}

void BackgroundCycle::abandon() {
  if (!thread_.joinable()) return;
  cancel_->cancel();
  thread_.join();
  ++generation_;
}

}  // namespace orelog
