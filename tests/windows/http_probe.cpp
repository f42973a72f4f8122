// http-probe PORT TARGET [--short] [--cancel-after MS]: one WinHTTP fetch from 127.0.0.1, its result
// (the body's length or -1) printed on standard output; the answer's status, the failure's kind,
// the time it took and the process's peak memory on standard error; the tests run it under Wine.
// psapi.h needs <windows.h> first.
// clang-format off
#include <windows.h>
#include <psapi.h>
// clang-format on

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "services/http.h"
#include "pool/response_buffer.h"
#include "util/utf.h"

namespace {

// Short enough for a test to wait out, long enough for a loopback answer.
constexpr orelog::HttpTimeouts kShortTimeouts{2000, 2000, 2000, 4000};

long long peakMemoryKib() {
  PROCESS_MEMORY_COUNTERS counters{};
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return -1;
  return static_cast<long long>(counters.PeakWorkingSetSize / 1024);
}

constexpr const char* kFailureNames[] = {"none",      "unreachable", "certificate", "secure-channel",
                                         "timed-out", "broken",      "too-large",   "cancelled",
                                         "redirect-loop", "redirected-away"};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs("usage: http-probe PORT TARGET [--short] [--cancel-after MS]\n", stderr);
    return 2;
  }
  orelog::HttpTimeouts timeouts;
  long cancelAfterMs = -1;
  for (int i = 3; i < argc; ++i) {
    if (std::strcmp(argv[i], "--short") == 0) timeouts = kShortTimeouts;
    if (std::strcmp(argv[i], "--cancel-after") == 0 && i + 1 < argc) cancelAfterMs = std::atol(argv[++i]);
  }
  orelog::FetchCancel cancel;
  std::thread canceller;
  if (cancelAfterMs >= 0) {
    canceller = std::thread([&cancel, cancelAfterMs] {
      std::this_thread::sleep_for(std::chrono::milliseconds(cancelAfterMs));
      cancel.cancel();
    });
  }
  orelog::ResponseBuffer buffer;
  const orelog::HttpRequest request{u"127.0.0.1", std::atoi(argv[1]), false, orelog::utf8ToUtf16(argv[2])};
  const auto started = std::chrono::steady_clock::now();
  const orelog::HttpResult result = orelog::httpGet(request, buffer.span(), timeouts, cancel);
  const auto tookMs =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started)
          .count();
  if (canceller.joinable()) canceller.join();
  std::printf("%d\n", result.ok() ? static_cast<int>(result.length) : -1);
  std::fprintf(stderr, "status %d failure %s\n", result.status, kFailureNames[static_cast<int>(result.failure)]);
  std::fprintf(stderr, "took %lld ms\npeak %lld KiB\n", static_cast<long long>(tookMs), peakMemoryKib());
  return 0;
}
