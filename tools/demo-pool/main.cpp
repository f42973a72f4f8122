// demo-pool: serves MPOS's getuserworkers, getuserbalance and getusertransactions on 127.0.0.1.
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "demo_answers.h"
#include "demo_options.h"
#include "pool_server.h"
#include "util/version.h"

namespace {

using namespace orelog::demo;
using Clock = std::chrono::steady_clock;

struct PoolClock {
  long long startTime = 0;  // pool time at start, Unix seconds
  Clock::time_point startedAt = Clock::now();
  double speed = 1.0;

  long long now() const {
    const std::chrono::duration<double> elapsed = Clock::now() - startedAt;
    return startTime + static_cast<long long>(std::floor(elapsed.count() * speed));
  }
};

Answer answer(const Options& options, const PoolClock& clock, std::atomic<long>& workersAsked,
              const ServedRequest& request) {
  const auto began = Clock::now();
  ApiRequest api{request.param("page"), request.param("action"), request.param("api_key"),
                 request.param("start"), request.param("limit")};
  if (api.action == "getuserworkers") api.workersAnswer = ++workersAsked;
  const std::chrono::duration<double, std::milli> spent = Clock::now() - began;
  const double runtimeMs = std::round(spent.count() * 100.0 + 1.0) / 100.0;
  Answer answer = answerRequest(options, api, clock.startTime, clock.now(), runtimeMs);
  if (answer.stallSeconds) stall(*answer.stallSeconds);
  return answer;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (orelog::asksForVersion(args)) return orelog::printVersionLine();
  const auto options = parseOptions(args);
  if (!options) return 2;
  if (options->showHelp) {
    std::fputs(usageText(), stdout);
    return 0;
  }
  PoolClock clock;
  clock.speed = options->speed;
  clock.startTime = options->epoch.value_or(
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count());

  std::atomic<long> workersAsked = 0;  // requests are served on several threads
  return servePool(options->port, [&](const ServedRequest& request) {
    return answer(*options, clock, workersAsked, request);
  });
}
