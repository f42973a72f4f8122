// One blocking HTTP(S) GET over WinHTTP: a fresh session, connection and request per fetch, every
// handle closed on every path.
//
// The exchange runs on a worker thread of its own, into the worker's own buffer: a cancel or the
// deadline then returns at once even where closing the handles does not wake a blocked call (Wine),
// and a worker that wakes up later finds itself abandoned and writes nowhere the caller can see.
#include "services/http.h"

#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <cassert>
#include <chrono>
#include <cwchar>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "util/percent_encoding.h"
#include "util/utf.h"
#include "wide_text.h"

namespace orelog {
namespace {

constexpr wchar_t kUserAgent[] = L"Orelog";
// A pool's answer headers are a few hundred bytes; a server sending header lines without end is
// cut off here rather than filling the memory. The same bound caps what is read past an answer
// that is not used, for instance the body of a redirect.
constexpr DWORD kMaxHeaderBytes = 64 * 1024;
constexpr DWORD kMaxDrainBytes = 64 * 1024;

// The session, connection and request of one fetch. Another thread may close them to break off a
// blocking call; closing twice is harmless.
class Handles {
 public:
  Handles() = default;
  ~Handles() { closeAll(); }
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

  // The request first, so a call blocked on it can return.
  void closeAll() {
    std::lock_guard lock(mutex_);
    closed_ = true;
    for (HINTERNET* slot : {&request, &connection, &session}) {
      if (*slot != nullptr) WinHttpCloseHandle(*slot);
      *slot = nullptr;
    }
  }

  HINTERNET session = nullptr;
  HINTERNET connection = nullptr;
  HINTERNET request = nullptr;

 private:
  std::mutex mutex_;
  bool closed_ = false;
};

// What the caller and the worker share; it lives until both are done with it.
struct Exchange {
  explicit Exchange(std::size_t capacity) : body(capacity) {}

  // The caller gives up: a cancel or the deadline.
  void abandon() {
    {
      std::lock_guard lock(mutex);
      abandoned = true;
    }
    ended.notify_all();
    handles.closeAll();
  }

  void finish(HttpResult outcome) {
    {
      std::lock_guard lock(mutex);
      result = outcome;
      done = true;
    }
    ended.notify_all();
  }

  std::mutex mutex;
  std::condition_variable ended;
  bool done = false;
  bool abandoned = false;
  HttpResult result = httpFailed(HttpFailure::Broken);
  std::vector<uint8_t> body;
  Handles handles;
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
  DWORD headerBytes = kMaxHeaderBytes, drainBytes = kMaxDrainBytes;
  WinHttpSetOption(handles.session, WINHTTP_OPTION_MAX_RESPONSE_HEADER_SIZE, &headerBytes,
                   sizeof headerBytes);
  WinHttpSetOption(handles.session, WINHTTP_OPTION_MAX_RESPONSE_DRAIN_SIZE, &drainBytes, sizeof drainBytes);

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

// The kind of failure behind the error of the WinHTTP call that just failed.
HttpFailure failureOf(DWORD error) {
  switch (error) {
    case ERROR_WINHTTP_CANNOT_CONNECT:
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
    case ERROR_WINHTTP_INVALID_URL:
    case ERROR_WINHTTP_UNRECOGNIZED_SCHEME:
      return HttpFailure::Unreachable;
    case ERROR_WINHTTP_TIMEOUT:
      return HttpFailure::TimedOut;
    case ERROR_WINHTTP_SECURE_FAILURE:
    case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_REV_FAILED:
    case ERROR_WINHTTP_SECURE_CERT_REVOKED:
    case ERROR_WINHTTP_SECURE_CERT_WRONG_USAGE:
    case ERROR_WINHTTP_SECURE_INVALID_CA:
    case ERROR_WINHTTP_SECURE_INVALID_CERT:
      return HttpFailure::Certificate;
    case ERROR_WINHTTP_SECURE_CHANNEL_ERROR:
      return HttpFailure::SecureChannel;
    default:
      return HttpFailure::Broken;
  }
}

HttpResult lastCallFailed(int status = 0) { return httpFailed(failureOf(GetLastError()), status); }

// The status of the answer that arrived, 0 when it cannot be read.
int statusOf(HINTERNET request) {
  DWORD status = 0, size = sizeof status;
  if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                           WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX))
    return 0;
  return static_cast<int>(status);
}

// The Location header of the answer that arrived last, empty when there is none.
std::wstring locationOf(HINTERNET request) {
  DWORD bytes = 0;
  WinHttpQueryHeaders(request, WINHTTP_QUERY_LOCATION, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER, &bytes,
                      WINHTTP_NO_HEADER_INDEX);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || bytes == 0) return {};
  std::wstring location(bytes / sizeof(wchar_t), L'\0');
  if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_LOCATION, WINHTTP_HEADER_NAME_BY_INDEX, location.data(), &bytes,
                           WINHTTP_NO_HEADER_INDEX))
    return {};
  location.resize(bytes / sizeof(wchar_t));
  return location;
}

// A location the fetch may follow: http or https, or a path on the same server.
bool followable(const std::wstring& location) {
  const std::size_t colon = location.find(L':');
  if (colon == std::wstring::npos || location.find(L'/') < colon) return true;  // no scheme
  const std::wstring scheme = location.substr(0, colon);
  return _wcsicmp(scheme.c_str(), L"http") == 0 || _wcsicmp(scheme.c_str(), L"https") == 0;
}

// WinHTTP gives up on a redirect either after too many of them or at a scheme it does not follow;
// the location of the last one tells which.
HttpResult redirectFailed(HINTERNET request) {
  return httpFailed(followable(locationOf(request)) ? HttpFailure::RedirectLoop : HttpFailure::RedirectedAway,
                    statusOf(request));
}

// An answer that is still a redirect once WinHTTP is done was not followed (https down to http, or
// another scheme): the pool sent the request where the fetch does not go.
bool unfollowedRedirect(HINTERNET request, int status) {
  return status >= 300 && status < 400 && !locationOf(request).empty();
}

// The body into the buffer, leaving its last byte free; a failure when it does not fit or a call fails.
// What WinHTTP says is available only sizes the next read: the body is too large once a byte is
// still to come with the buffer full, never on a count that may run ahead of the body's rest.
HttpResult readBody(HINTERNET request, std::span<uint8_t> buffer, int status) {
  assert(!buffer.empty() && "the buffer keeps its last byte free");
  const std::size_t room = buffer.size() - 1;
  std::size_t total = 0;
  for (;;) {
    DWORD available = 0;
    if (!WinHttpQueryDataAvailable(request, &available)) return lastCallFailed(status);
    if (available == 0) return {HttpFailure::None, status, total};
    if (total == room) return httpFailed(HttpFailure::TooLarge, status);
    const auto wanted = static_cast<DWORD>(std::min<std::size_t>(available, room - total));
    DWORD delivered = 0;
    if (!WinHttpReadData(request, buffer.data() + total, wanted, &delivered)) return lastCallFailed(status);
    total += delivered;
  }
}

// The length the server announced, when it did.
std::optional<DWORD> announcedLength(HINTERNET request) {
  DWORD length = 0, size = sizeof length;
  if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_CONTENT_LENGTH | WINHTTP_QUERY_FLAG_NUMBER,
                           WINHTTP_HEADER_NAME_BY_INDEX, &length, &size, WINHTTP_NO_HEADER_INDEX))
    return std::nullopt;
  return length;
}

// The exchange once the request is open: send, the answer's status and its whole body.
HttpResult sendAndRead(Exchange& shared) {
  HINTERNET request = shared.handles.request;
  if (!WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0))
    return lastCallFailed();
  if (!WinHttpReceiveResponse(request, nullptr)) {
    return GetLastError() == ERROR_WINHTTP_REDIRECT_FAILED ? redirectFailed(request) : lastCallFailed();
  }
  const int status = statusOf(request);
  if (unfollowedRedirect(request, status)) return httpFailed(HttpFailure::RedirectedAway, status);
  HttpResult result = readBody(request, shared.body, status);
  // A body cut short by a server hanging up half-way is a failure, not a shorter body.
  const std::optional<DWORD> announced = announcedLength(request);
  if (result.ok() && announced && *announced != result.length) result = httpFailed(HttpFailure::Broken, status);
  return result;
}

// The whole exchange on the worker thread; the handles are closed before it returns.
HttpResult exchange(Exchange& shared, const HttpRequest& request, const HttpTimeouts& timeouts) {
  const HttpResult result = openRequest(shared.handles, request, timeouts) ? sendAndRead(shared) : lastCallFailed();
  shared.handles.closeAll();
  return result;
}

}  // namespace

HttpResult httpGet(const HttpRequest& request, std::span<uint8_t> buffer, const HttpTimeouts& timeouts,
                   const FetchCancel& cancel) {
  if (const auto refused = refusedRequest(request, buffer)) return *refused;
  auto shared = std::make_shared<Exchange>(buffer.size());
  if (!cancel.setInterrupt([shared] { shared->abandon(); })) return httpFailed(HttpFailure::Cancelled);
  try {
    std::thread([shared, request, timeouts] {
      shared->finish(exchange(*shared, request, timeouts));
    }).detach();
  } catch (...) {  // no thread to be had
    cancel.clearInterrupt();
    return httpFailed(HttpFailure::Broken);
  }
  std::unique_lock lock(shared->mutex);
  const bool ended = shared->ended.wait_for(lock, std::chrono::milliseconds(timeouts.overallMs),
                                            [&] { return shared->done || shared->abandoned; });
  const bool answered = ended && shared->done && !shared->abandoned;
  const HttpResult result = shared->result;
  lock.unlock();
  cancel.clearInterrupt();
  if (!answered) {
    shared->abandon();  // the deadline: the worker is left to end on its own
    return httpFailed(cancel.cancelled() ? HttpFailure::Cancelled : HttpFailure::TimedOut);
  }
  if (result.ok()) std::copy_n(shared->body.begin(), result.length, buffer.begin());
  return result;
}

}  // namespace orelog
