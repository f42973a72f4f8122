// demo-pool: serves MPOS's getuserworkers, getuserbalance and getusertransactions on 127.0.0.1.
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include <httplib.h>

#include "demo_answers.h"
#include "demo_options.h"
#include "header_flood.h"
#include "util/version.h"

namespace {

using namespace orelog::demo;
using Clock = std::chrono::steady_clock;

constexpr const char* kListenAddress = "127.0.0.1";
constexpr const char* kContentType = "text/html";  // MPOS labels its JSON answers as HTML too

struct PoolClock {
  long long startTime = 0;  // pool time at start, Unix seconds
  Clock::time_point startedAt = Clock::now();
  double speed = 1.0;

  long long now() const {
    const std::chrono::duration<double> elapsed = Clock::now() - startedAt;
    return startTime + static_cast<long long>(std::floor(elapsed.count() * speed));
  }
};

std::optional<std::string> param(const httplib::Request& request, const char* name) {
  if (!request.has_param(name)) return std::nullopt;
  return request.get_param_value(name);
}

void stall(long seconds) {
  if (seconds > 0) return std::this_thread::sleep_for(std::chrono::seconds(seconds));
  for (;;) std::this_thread::sleep_for(std::chrono::hours(1));  // until the process is ended
}

// Announces the whole body and sends half of it; then drops the connection or falls silent.
void sendHalf(httplib::Response& response, const std::string& body, bool thenStall) {
  response.set_content_provider(body.size(), kContentType,
                                [body, thenStall](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                  if (offset == 0 && body.size() > 1) sink.write(body.data(), body.size() / 2);
                                  if (thenStall) stall(0);
                                  return false;
                                });
}

void serve(const Options& options, const PoolClock& clock, std::atomic<long>& workersAsked,
           const httplib::Request& request, httplib::Response& response) {
  const auto began = Clock::now();
  ApiRequest api{param(request, "page"), param(request, "action"), param(request, "api_key")};
  if (api.action == "getuserworkers") api.workersAnswer = ++workersAsked;
  const std::chrono::duration<double, std::milli> spent = Clock::now() - began;
  const double runtimeMs = std::round(spent.count() * 100.0 + 1.0) / 100.0;
  const Answer answer = answerRequest(options, api, clock.startTime, clock.now(), runtimeMs);
  if (answer.stallSeconds) stall(*answer.stallSeconds);
  // The library's own answer after the flood finds the connection shut down and goes nowhere.
  if (answer.floodHeaders && floodHeaders(request.remote_addr, request.remote_port)) return;
  response.status = answer.status;
  if (answer.closeEarly || answer.stallEarly) return sendHalf(response, answer.body, answer.stallEarly);
  response.set_content(answer.body, kContentType);
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
  httplib::Server server;
  server.Get(".*", [&](const httplib::Request& request, httplib::Response& response) {
    serve(*options, clock, workersAsked, request, response);
  });
  const int port = options->port == 0 ? server.bind_to_any_port(kListenAddress)
                                      : (server.bind_to_port(kListenAddress, options->port) ? options->port : -1);
  if (port <= 0) {
    std::fprintf(stderr, "demo-pool: cannot listen on %s:%d\n", kListenAddress, options->port);
    return 1;
  }
  std::printf("http://%s:%d/\n", kListenAddress, port);
  std::fflush(stdout);
  return server.listen_after_bind() ? 0 : 1;
}
