// The network half of an update cycle on a thread of its own, so the window never waits for the
// pool; its result comes back to the user-interface thread as a posted task.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

#include "services/platform.h"
#include "pool/figures_fetch.h"

namespace orelog {

class BackgroundCycle {
 public:
  using Finished = std::function<void(const FetchedFigures& fetched)>;

  BackgroundCycle() = default;
  ~BackgroundCycle() { abandon(); }
  BackgroundCycle(const BackgroundCycle&) = delete;
  BackgroundCycle& operator=(const BackgroundCycle&) = delete;

  // Fetches the query's figures on a new thread, then posts `finished` with the result to the
  // user-interface thread. Only one fetch runs at a time. `alongside`, when given, runs on the same
  // thread before the fetch: work that may wait on the disk, whose result `finished` picks up.
  void start(FiguresQuery query, Platform& platform, Finished finished, std::function<void()> alongside = {});
  // Breaks off a running fetch and waits for its thread, which ends at once; the result, posted or
  // not, is dropped. Does nothing when no fetch runs.
  void abandon();

 private:
  void deliver(uint64_t generation, const FetchedFigures& fetched, const Finished& finished);

  std::thread thread_;
  std::shared_ptr<FetchCancel> cancel_;
  std::shared_ptr<ResponseBuffer> buffer_ = std::make_shared<ResponseBuffer>();
  uint64_t generation_ = 0;  // results of an abandoned fetch carry an older number
};

}  // namespace orelog
