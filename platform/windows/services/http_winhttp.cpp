// One blocking HTTP(S) GET over WinHTTP: a fresh session, connection and request per fetch, the
// body into the caller's buffer, every handle closed on every path.
#include "platform/http.h"

#include <windows.h>
#include <winhttp.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "pool/request_target.h"
#include "util/utf.h"
#include "wide_text.h"

namespace orelog {
namespace {

using Clock = std::chrono::steady_clock;

constexpr wchar_t kUserAgent[] = L"Orelog";
constexpr int kLowestPort = 1;
constexpr int kHighestPort = 65535;

// The session, connection and request of one fetch. Another thread may close them to break off a
// blocking call (a cancel, the overall deadline); closing twice is harmless.
class Handles {
 public:
  ~Handles() { closeAll(); }
  Handles() = default;
  Handles(const Handles&) = delete;
  Handles& operator=(const Handles&) = delete;

  // Stores a freshly opened handle; false (closing it) when the fetch was broken off meanwhile.
  bool keep(HINTERNET& slot, HINTERNET handle) {
    std::lock_guard lock(mutex_);
    if (handle == nullptr) return false;
    if (closed_) {
      WinHttpCloseHandle(handle);
      return false;
    }
    slot = handle;
    return true;
  }

  // The request first, so a call blocked on it returns at once.
  void closeAll() {
    std::lock_guard lock(mutex_);
    closed_ = true;
    for (HINTERNET* slot : {&request, &connection, &session}) {
      if (*slot != nullptr) WinHttpCloseHandle(*slot);
      *slot = nullptr;
    }
  }

  bool closed() const {
    std::lock_guard lock(mutex_);
    return closed_;
  }

  HINTERNET session = nullptr;
  HINTERNET connection = nullptr;
  HINTERNET request = nullptr;

 private:
  mutable std::mutex mutex_;
  bool closed_ = false;
};

// Closes the handles when the whole fetch outlasts its deadline, however the server trickles.
class DeadlineWatch {
 public:
  DeadlineWatch(Handles& handles, long overallMs)
      : thread_([this, &handles, overallMs] {
          std::unique_lock lock(mutex_);
          if (!finished_.wait_for(lock, std::chrono::milliseconds(overallMs), [this] { return done_; }))
            handles.closeAll();
        }) {}
  ~DeadlineWatch() {
    {
      std::lock_guard lock(mutex_);
      done_ = true;
    }
    finished_.notify_one();
    thread_.join();
  }
  DeadlineWatch(const DeadlineWatch&) = delete;
  DeadlineWatch& operator=(const DeadlineWatch&) = delete;

 private:
  std::mutex mutex_;
  std::condition_variable finished_;
  bool done_ = false;
  std::thread thread_;  // last, so it starts once the members it uses exist
};

// Ties the cancel's interrupt to this fetch's handles for as long as the fetch runs. The fetch
// only reads the cancel's state; arming its hook is the one change it makes, under its lock.
class CancelHook {
 public:
  CancelHook(const FetchCancel& cancel, Handles& handles) : cancel_(const_cast<FetchCancel&>(cancel)) {
    armed_ = cancel_.setInterrupt([&handles] { handles.closeAll(); });
  }
  ~CancelHook() { cancel_.clearInterrupt(); }
  CancelHook(const CancelHook&) = delete;
  CancelHook& operator=(const CancelHook&) = delete;
  bool armed() const { return armed_; }

 private:
  FetchCancel& cancel_;
  bool armed_ = false;
};

int clampMs(long ms) {
  return ms > 0 && ms < INT32_MAX ? static_cast<int>(ms) : INT32_MAX;
}

// Opens the session with its time-outs, the connection and the GET request.
bool openRequest(Handles& handles, const HttpRequest& request, const HttpTimeouts& timeouts) {
  if (!handles.keep(handles.session, WinHttpOpen(kUserAgent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                                 WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0)))
    return false;
  // Name lookup and the connection share the connect time-out.
  WinHttpSetTimeouts(handles.session, clampMs(timeouts.connectMs), clampMs(timeouts.connectMs),
                     clampMs(timeouts.sendMs), clampMs(timeouts.receiveMs));
  DWORD policy = WINHTTP_OPTION_REDIRECT_POLICY_DISALLOW_HTTPS_TO_HTTP;
  WinHttpSetOption(handles.session, WINHTTP_OPTION_REDIRECT_POLICY, &policy, sizeof policy);
  DWORD redirects = kMaxRedirects;
  WinHttpSetOption(handles.session, WINHTTP_OPTION_MAX_HTTP_AUTOMATIC_REDIRECTS, &redirects, sizeof redirects);

  const std::wstring host = wideText(request.host);
  if (!handles.keep(handles.connection, WinHttpConnect(handles.session, host.c_str(),
                                                       static_cast<INTERNET_PORT>(request.port), 0)))
    return false;
  // What may not stand in a URL is escaped here, so both platforms send the same bytes.
  const std::wstring target = wideFromUtf8(percentEncodeUnsafe(utf16ToUtf8(request.target)));
  return handles.keep(handles.request, WinHttpOpenRequest(handles.connection, L"GET", target.c_str(), nullptr,
                                                          WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                                          request.secure ? WINHTTP_FLAG_SECURE : 0));
}

// The body into the buffer, leaving its last byte free; -1 when it does not fit or a call fails.
int readBody(HINTERNET request, std::span<uint8_t> buffer) {
  std::size_t total = 0;
  for (;;) {
    DWORD available = 0;
    if (!WinHttpQueryDataAvailable(request, &available)) return -1;
    if (available == 0) return static_cast<int>(total);
    if (total + available + 1 > buffer.size()) return -1;
    DWORD delivered = 0;
    if (!WinHttpReadData(request, buffer.data() + total, available, &delivered)) return -1;
    total += delivered;
  }
}

int exchange(Handles& handles, const HttpRequest& request, std::span<uint8_t> buffer,
             const HttpTimeouts& timeouts) {
  if (!openRequest(handles, request, timeouts)) return -1;
  if (!WinHttpSendRequest(handles.request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0,
                          0))
    return -1;
  if (!WinHttpReceiveResponse(handles.request, nullptr)) return -1;
  const int length = readBody(handles.request, buffer);
  // A body cut short by a cancel or the deadline is a failure, however it ended.
  return handles.closed() ? -1 : length;
}

}  // namespace

int httpGet(const HttpRequest& request, std::span<uint8_t> buffer, const HttpTimeouts& timeouts,
            const FetchCancel& cancel) {
  if (request.port < kLowestPort || request.port > kHighestPort || buffer.empty()) return -1;
  if (request.target.empty() || request.target.front() != u'/') return -1;
  Handles handles;
  CancelHook hook(cancel, handles);
  if (!hook.armed()) return -1;
  DeadlineWatch watch(handles, timeouts.overallMs);
  return exchange(handles, request, buffer, timeouts);
}

}  // namespace orelog
