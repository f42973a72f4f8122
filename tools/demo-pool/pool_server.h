// The demo pool's HTTP side: GET requests on 127.0.0.1, each answered by one handler, with the
// faults of an answer (a stall, half a body, a header flood) played on the connection.
#pragma once
#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <thread>

#include "demo_answers.h"

namespace orelog::demo {

inline constexpr const char* kListenAddress = "127.0.0.1";
inline constexpr const char* kContentType = "text/html";  // MPOS labels its JSON answers as HTML too

// One request as the handler sees it: its query parameters, decoded.
struct ServedRequest {
  std::string target;  // the path with its query, as the request line has it
  std::map<std::string, std::string> query;

  std::optional<std::string> param(const std::string& name) const {
    const auto found = query.find(name);
    if (found == query.end()) return std::nullopt;
    return found->second;
  }
};

using RequestHandler = std::function<Answer(const ServedRequest& request)>;

// Listens on port (0: one the system picks), prints "http://127.0.0.1:PORT/" once it listens and
// serves until the process ends. Returns the exit code: 1 when it cannot listen.
int servePool(int port, const RequestHandler& handler);

// Waits seconds before going on; 0 waits until the process is ended.
inline void stall(long seconds) {
  if (seconds > 0) return std::this_thread::sleep_for(std::chrono::seconds(seconds));
  for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
}

}  // namespace orelog::demo
