// One blocking HTTP(S) GET over libcurl: a fresh handle per fetch driven by a multi handle, so a
// cancel from another thread wakes it at once; the body into the caller's buffer.
#include "http_curl.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include <curl/curl.h>

#include "util/percent_encoding.h"
#include "util/utf.h"

namespace orelog {
namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kUserAgent = "Orelog";
constexpr const char* kLoopbackNames = "127.0.0.1,localhost,::1";
// How long one wait for the socket may last before the idle and cancel checks run again; a cancel
// wakes the wait at once, so this only bounds the checks' delay when nothing else happens.
constexpr int kPollMs = 200;

struct Transfer {
  std::span<uint8_t> buffer;
  std::size_t total = 0;
  HttpTimeouts timeouts;
  const FetchCancel& cancel;
  CURL* handle = nullptr;
  bool connected = false;
  bool answered = false;  // a byte of the answer (headers or body) has arrived
  bool overflowed = false;  // the body would not fit
  bool idleTooLong = false;
  Clock::time_point lastActivity{};
};

struct CurlDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct HeaderListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
struct MultiDeleter {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};

void noteActivity(Transfer& transfer) {
  transfer.answered = true;
  transfer.lastActivity = Clock::now();
}

// The body must leave one byte of the buffer free; a larger body stops the transfer.
size_t writeBody(char* data, size_t size, size_t count, void* user) {
  auto& transfer = *static_cast<Transfer*>(user);
  const size_t bytes = size * count;
  if (transfer.total + bytes + 1 > transfer.buffer.size()) {
    transfer.overflowed = true;
    return 0;
  }
  std::copy(data, data + bytes, transfer.buffer.begin() + static_cast<std::ptrdiff_t>(transfer.total));
  transfer.total += bytes;
  noteActivity(transfer);
  return bytes;
}

size_t readHeader(char*, size_t size, size_t count, void* user) {
  noteActivity(*static_cast<Transfer*>(user));
  return size * count;
}

// The send and receive time-outs: aborts once the exchange has been idle too long after connecting,
// and at once when the fetch is cancelled.
int checkIdle(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  auto& transfer = *static_cast<Transfer*>(user);
  if (transfer.cancel.cancelled()) return 1;
  curl_off_t pretransfer = 0;
  curl_easy_getinfo(transfer.handle, CURLINFO_PRETRANSFER_TIME_T, &pretransfer);
  if (pretransfer == 0) return 0;  // still connecting: the connect time-out governs
  const auto now = Clock::now();
  if (!transfer.connected) {
    transfer.connected = true;
    transfer.lastActivity = now;
  }
  const long limitMs = transfer.answered ? transfer.timeouts.receiveMs
                                         : transfer.timeouts.sendMs + transfer.timeouts.receiveMs;
  transfer.idleTooLong = now - transfer.lastActivity > std::chrono::milliseconds(limitMs);
  return transfer.idleTooLong ? 1 : 0;
}

// The kind of a failed transfer, from curl's code and what the callbacks saw.
HttpFailure failureOf(CURLcode code, const Transfer& transfer) {
  if (transfer.cancel.cancelled()) return HttpFailure::Cancelled;
  if (transfer.overflowed) return HttpFailure::TooLarge;
  if (transfer.idleTooLong) return HttpFailure::TimedOut;
  switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
      return HttpFailure::Unreachable;
    case CURLE_OPERATION_TIMEDOUT:
      return HttpFailure::TimedOut;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
      return HttpFailure::Certificate;
    case CURLE_SSL_CONNECT_ERROR:
      return HttpFailure::SecureChannel;
    case CURLE_TOO_MANY_REDIRECTS:
      return HttpFailure::RedirectLoop;
    // The first request is always http or https: only a redirect can lead to a scheme not allowed.
    case CURLE_UNSUPPORTED_PROTOCOL:
      return HttpFailure::RedirectedAway;
    default:
      return HttpFailure::Broken;
  }
}

bool isHostByte(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_' || c >= 0x80;
}

// A host name is used as a name, never as URL syntax: "@", "?", "#", "%" or spaces cannot resolve.
bool isPlainHost(const std::string& host) {
  if (host.empty()) return false;
  for (unsigned char c : host) {
    if (!isHostByte(c)) return false;
  }
  return true;
}

std::string noProxyList() {
  const char* fromEnvironment = std::getenv("no_proxy");
  if (!fromEnvironment) fromEnvironment = std::getenv("NO_PROXY");
  std::string list = fromEnvironment ? fromEnvironment : "";
  return list.empty() ? kLoopbackNames : list + "," + kLoopbackNames;
}

bool curlReady() {
  static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  return ready;
}

void setOptions(CURL* handle, Transfer& transfer, const HttpRequest& request, const std::string& url,
                curl_slist* headers, const std::string& noProxy, const std::string& caFile) {
  curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
  curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, request.secure ? "https" : "http,https");
  curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(handle, CURLOPT_MAXREDIRS, kMaxRedirects);
  curl_easy_setopt(handle, CURLOPT_USERAGENT, kUserAgent);
  curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(handle, CURLOPT_PATH_AS_IS, 1L);
  curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(handle, CURLOPT_NOPROXY, noProxy.c_str());
  curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
  if (!caFile.empty()) curl_easy_setopt(handle, CURLOPT_CAINFO, caFile.c_str());
  curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, transfer.timeouts.connectMs);
  curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, transfer.timeouts.overallMs);
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, writeBody);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, readHeader);
  curl_easy_setopt(handle, CURLOPT_HEADERDATA, &transfer);
  curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, checkIdle);
  curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &transfer);
  curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
}

// Runs the transfer to its end: curl's code, or the aborted one when the wait itself failed.
CURLcode perform(CURL* handle, const FetchCancel& cancel) {
  std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
  if (!multi || curl_multi_add_handle(multi.get(), handle) != CURLM_OK) return CURLE_FAILED_INIT;
  CURLM* waker = multi.get();
  bool done = false;
  if (cancel.setInterrupt([waker] { curl_multi_wakeup(waker); })) {
    int running = 1;
    while (running > 0 && !cancel.cancelled()) {
      if (curl_multi_perform(multi.get(), &running) != CURLM_OK) break;
      if (running > 0 && curl_multi_poll(multi.get(), nullptr, 0, kPollMs, nullptr) != CURLM_OK) break;
    }
    done = running == 0;
    cancel.clearInterrupt();
  }
  int pending = 0;
  const CURLMsg* message = done ? curl_multi_info_read(multi.get(), &pending) : nullptr;
  const CURLcode code = message && message->msg == CURLMSG_DONE ? message->data.result : CURLE_ABORTED_BY_CALLBACK;
  curl_multi_remove_handle(multi.get(), handle);
  return code;
}

}  // namespace

HttpResult curlHttpGet(const HttpRequest& request, std::span<uint8_t> buffer, const HttpTimeouts& timeouts,
                       const FetchCancel& cancel, const std::string& caFile) {
  const std::string host = utf16ToUtf8(request.host);
  const std::string target = utf16ToUtf8(request.target);
  if (cancel.cancelled()) return httpFailed(HttpFailure::Cancelled);
  if (const auto refused = refusedRequest(request, buffer)) return *refused;
  if (!isPlainHost(host)) return httpFailed(HttpFailure::Unreachable);
  if (!curlReady()) return httpFailed(HttpFailure::Broken);
  // What may not stand in a URL is escaped here too, as WinHTTP's request layer does.
  const std::string url = std::string(request.secure ? "https://" : "http://") + host + ":" +
                          std::to_string(request.port) + percentEncodeUnsafe(target);

  std::unique_ptr<CURL, CurlDeleter> handle(curl_easy_init());
  if (!handle) return httpFailed(HttpFailure::Broken);
  // No header of our own beyond the user agent: drop curl's default Accept.
  std::unique_ptr<curl_slist, HeaderListDeleter> headers(curl_slist_append(nullptr, "Accept:"));
  Transfer transfer{buffer, 0, timeouts, cancel, handle.get()};
  const std::string noProxy = noProxyList();
  setOptions(handle.get(), transfer, request, url, headers.get(), noProxy, caFile);
  const CURLcode code = perform(handle.get(), cancel);
  long status = 0;
  curl_easy_getinfo(handle.get(), CURLINFO_RESPONSE_CODE, &status);
  if (code != CURLE_OK || cancel.cancelled()) return httpFailed(failureOf(code, transfer), static_cast<int>(status));
  return {HttpFailure::None, static_cast<int>(status), transfer.total};
}

HttpResult httpGet(const HttpRequest& request, std::span<uint8_t> buffer, const HttpTimeouts& timeouts,
                   const FetchCancel& cancel) {
  return curlHttpGet(request, buffer, timeouts, cancel);
}

}  // namespace orelog
