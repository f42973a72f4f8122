// A platform for pool tests: the real fetch with short time-outs, messages recorded.
#pragma once
#include <string>
#include <vector>

#include "services/http.h"
#include "services/null_platform.h"
#include "services/system_services.h"
#include "pool/pool_queries.h"

namespace orelog::test {

// Short enough that a stalled pool fails a test in seconds; far above what a loopback answer takes
// even on a busy machine.
inline constexpr HttpTimeouts kTestTimeouts{10000, 2000, 3000};

struct TestPlatform : SystemServices<NullPlatform> {
  std::vector<std::u16string> messages;
  std::vector<MessageOwner> owners;

  TestPlatform() { timeouts = kTestTimeouts; }

  void showMessage(std::u16string_view text, MessageOwner owner) override {
    messages.emplace_back(text);
    owners.push_back(owner);
  }
  // The fetch the queries take, never cancelled.
  HttpFetch fetch() {
    return [this](const HttpRequest& request, std::span<uint8_t> buffer) {
      return httpGet(request, buffer, neverCancelled);
    };
  }

 private:
  FetchCancel neverCancelled;
};

}  // namespace orelog::test
