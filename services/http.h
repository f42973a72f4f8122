// The HTTP GET the pool client needs: the request, its time-outs, its cancel, and the one fetch
// function that each platform's back end defines (libcurl on Linux, WinHTTP on Windows).
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>

namespace orelog {

struct HttpRequest {
  std::u16string host;
  int port = 0;
  bool secure = false;
  std::u16string target;  // path and query, beginning with "/"
};

// WinHTTP's default time-outs, so no request can hang for ever, plus a deadline for the whole
// request that a pool trickling one byte at a time cannot stretch. Tests shorten them.
// Connect covers name lookup, TCP and the TLS handshake; until the first byte of the answer
// arrives the request may be idle for send + receive, afterwards for receive at a time.
struct HttpTimeouts {
  long connectMs = 60000;
  long sendMs = 30000;
  long receiveMs = 30000;
  long overallMs = 120000;
};

// Redirects are followed, at most this many in a row (WinHTTP's own limit), never from https down
// to http.
inline constexpr long kMaxRedirects = 10;

// Lets the user-interface thread break off a fetch running on the pool thread. Thread-safe.
class FetchCancel {
 public:
  // Sets the flag and runs the interrupt hook, if one is set, on the calling thread. The hook must
  // not call back into this object.
  void cancel();
  bool cancelled() const;
  // A back end that blocks inside a system call says how to break it off (WinHTTP closes its
  // handles). Returns false, setting nothing, when the fetch is already cancelled. After
  // clearInterrupt returns, the hook is neither running nor going to run.
  bool setInterrupt(std::function<void()> hook) const;
  void clearInterrupt() const;

 private:
  mutable std::mutex mutex_;
  bool cancelled_ = false;
  mutable std::function<void()> interrupt_;  // set by the back end through a const reference
};

// Why a fetch brought no body. The pool client names the cause to the player, so the back ends
// sort their errors into these few kinds.
enum class HttpFailure {
  None,           // a body arrived, whatever its status
  Unreachable,    // no such host, a refused connection, no route; or a host or port that cannot be used
  Certificate,    // the server's certificate was refused
  SecureChannel,  // the TLS handshake failed for another reason
  TimedOut,       // an idle time-out or the deadline for the whole request
  Broken,         // the connection dropped or the answer was garbled half-way
  TooLarge,       // the body would leave no byte of the buffer free
  Cancelled,
  RedirectLoop,    // redirected again and again, past kMaxRedirects
  RedirectedAway,  // redirected to what the fetch does not follow: another scheme, or https down to http
};

// What one fetch brought: on success the body's length at the start of the buffer; the HTTP status
// of the last answer whenever one arrived (0 when none did), also on a failure after it.
struct HttpResult {
  HttpFailure failure = HttpFailure::None;
  int status = 0;
  std::size_t length = 0;

  bool ok() const { return failure == HttpFailure::None; }
};

inline HttpResult httpFailed(HttpFailure failure, int status = 0) { return {failure, status, 0}; }

// The failure of a request no back end sends: a port outside 1 to 65535 is unreachable; no buffer,
// or a target that does not start with "/", is broken. nullopt for a request that may be sent.
std::optional<HttpResult> refusedRequest(const HttpRequest& request, std::span<const uint8_t> buffer);

// One GET, blocking the calling thread (never the user-interface thread). User agent "Orelog",
// TLS with certificate checking when secure, the status code reported but never judged, redirects
// followed (never from https down to http). The body goes to the start of buffer; a body that
// leaves no byte of the buffer free, a time-out and a cancel are failures.
HttpResult httpGet(const HttpRequest& request, std::span<uint8_t> buffer, const HttpTimeouts& timeouts,
                   const FetchCancel& cancel);

}  // namespace orelog
