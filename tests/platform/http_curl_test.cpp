// The libcurl fetch against real servers on loopback: sizes, errors, stalls, deadlines, cancels,
// headers, TLS.
#include <gtest/gtest.h>

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

#include "http_curl.h"
#include "pool/request_target.h"
#include "pool/response_buffer.h"
#include "tests/support/printable.h"
#include "tests/support/test_platform.h"
#include "tests/support/demo_pool_process.h"
#include "tests/support/temp_folder.h"

namespace orelog {
namespace {

using test::DemoPoolProcess;
using test::kTestTimeouts;

const std::u16string kLoopback = u"127.0.0.1";
const std::u16string kBalanceTarget = buildRequestTarget(u"index.php", "getuserbalance", u"demo");

HttpResult fetchResult(ResponseBuffer& buffer, int port, const std::u16string& target = kBalanceTarget,
                       const std::u16string& host = kLoopback, bool secure = false, const std::string& caFile = {}) {
  const FetchCancel cancel;
  if (!caFile.empty()) return curlHttpGet({host, port, secure, target}, buffer.span(), kTestTimeouts, cancel, caFile);
  return httpGet({host, port, secure, target}, buffer.span(), kTestTimeouts, cancel);
}

// The body's length, or -1 for any failure.
int lengthOf(const HttpResult& result) { return result.ok() ? static_cast<int>(result.length) : -1; }

int fetch(ResponseBuffer& buffer, int port, const std::u16string& target = kBalanceTarget,
          const std::u16string& host = kLoopback, bool secure = false, const std::string& caFile = {}) {
  return lengthOf(fetchResult(buffer, port, target, host, secure, caFile));
}

std::string bodyOf(ResponseBuffer& buffer, int length) {
  return length < 0 ? std::string() : std::string(reinterpret_cast<const char*>(buffer.bytes.get()), length);
}

struct Misbehaviour {
  std::string fault;
  int expected;
  HttpFailure failure = HttpFailure::None;
  int status = 200;  // of the answer, when one arrived
};

void PrintTo(const Misbehaviour& value, std::ostream* out) { *out << test::printable(value.fault); }

class FetchFromDemoPool : public testing::TestWithParam<Misbehaviour> {};

TEST_P(FetchFromDemoPool, GivesLengthOrFailure) {
  DemoPoolProcess pool({"--fault", GetParam().fault});
  ASSERT_NE(pool.port, 0);
  ResponseBuffer buffer;
  const HttpResult result = fetchResult(buffer, pool.port);
  EXPECT_EQ(lengthOf(result), GetParam().expected);
  EXPECT_EQ(result.failure, GetParam().failure);
  if (result.status != 0) {
    EXPECT_EQ(result.status, GetParam().status);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, FetchFromDemoPool,
    testing::Values(Misbehaviour{"size=262143", 262143},  // the longest body that fits
                    Misbehaviour{"size=262144", -1, HttpFailure::TooLarge},  // no byte of the buffer left free
                    Misbehaviour{"size=1000000", -1, HttpFailure::TooLarge}, Misbehaviour{"empty", 0},
                    Misbehaviour{"disabled", 19, HttpFailure::None, 501},
                    Misbehaviour{"close", -1, HttpFailure::Broken},     // the connection drops half-way
                    Misbehaviour{"stall", -1, HttpFailure::TimedOut},   // no answer: the time-outs end it
                    Misbehaviour{"trickle", -1, HttpFailure::TimedOut},  // half an answer, then silence
                    Misbehaviour{"headers", -1, HttpFailure::Broken},  // header lines without end
                    // no final zero-size chunk before the connection closes
                    Misbehaviour{"chunked-cut", -1, HttpFailure::Broken},
                    Misbehaviour{"redirect", -1, HttpFailure::RedirectLoop, 302},  // to itself, for ever
                    Misbehaviour{"redirect=file:///etc/passwd", -1, HttpFailure::RedirectedAway, 302},
                    Misbehaviour{"redirect=ftp://127.0.0.1/pool.json", -1, HttpFailure::RedirectedAway, 302},
                    Misbehaviour{"redirect=gopher://127.0.0.1/1", -1, HttpFailure::RedirectedAway, 302}));

TEST(Fetch, ReturnsErrorPagesLikeAnyBodyWithTheirStatus) {
  for (const auto& [fault, status] : {std::pair{"html404", 404}, std::pair{"html500", 500}}) {
    DemoPoolProcess pool({"--fault", fault});
    ResponseBuffer buffer;
    const HttpResult result = fetchResult(buffer, pool.port);
    ASSERT_GT(lengthOf(result), 0) << fault;
    EXPECT_EQ(result.status, status) << fault;
    EXPECT_TRUE(bodyOf(buffer, lengthOf(result)).starts_with("<!DOCTYPE html>")) << fault;
  }
}

TEST(Fetch, ReturnsTheStatusBodiesOfTheApi) {
  DemoPoolProcess pool;
  ResponseBuffer buffer;
  const HttpResult refused = fetchResult(buffer, pool.port, buildRequestTarget(u"", "getuserbalance", u"wrong"));
  EXPECT_EQ(refused.status, 401);
  int length = lengthOf(refused);
  EXPECT_EQ(bodyOf(buffer, length), "Access denied");
  length = fetch(buffer, pool.port, buildRequestTarget(u"", "getnothing", u"demo"));
  EXPECT_EQ(bodyOf(buffer, length), "400 Bad Request");
}

TEST(Fetch, SecondFetchReplacesTheFirstBody) {
  DemoPoolProcess pool;
  ResponseBuffer buffer;
  const int first = fetch(buffer, pool.port, buildRequestTarget(u"", "getusertransactions", u"demo"));
  const int second = fetch(buffer, pool.port, buildRequestTarget(u"", "getuserbalance", u"wrong"));
  ASSERT_GT(first, second);
  EXPECT_EQ(bodyOf(buffer, second), "Access denied");
}

TEST(Fetch, RefusedConnectionFails) {
  ResponseBuffer buffer;
  EXPECT_EQ(fetchResult(buffer, test::closedLoopbackPort()).failure, HttpFailure::Unreachable);
}

TEST(Fetch, PortsOutsideTheTcpRangeFail) {
  DemoPoolProcess pool;
  ResponseBuffer buffer;
  for (int port : {0, -1, 65536, pool.port + 65536}) {
    EXPECT_EQ(fetchResult(buffer, port).failure, HttpFailure::Unreachable) << port;
  }
}

void waitUntilRunning(httplib::Server& server) {
  while (!server.is_running()) std::this_thread::yield();
}

// An in-process server that records what arrives, for what the demo pool cannot echo.
struct RecordingServer {
  httplib::Server server;
  int port = 0;
  std::thread thread;
  httplib::Request last;

  RecordingServer() {
    server.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
      if (request.path == "/moved") return response.set_redirect("/landing");
      last = request;
      response.set_content("{}", "text/html");
    });
    port = server.bind_to_any_port("127.0.0.1");  // listening from here on
    thread = std::thread([this] { server.listen_after_bind(); });
    waitUntilRunning(server);  // stop() before the accept loop runs would not end it
  }
  ~RecordingServer() {
    server.stop();
    thread.join();
  }
};

TEST(Fetch, SendsTheUserAgentAndTheTargetAsBuilt) {
  RecordingServer recorder;
  ResponseBuffer buffer;
  const auto target = buildRequestTarget(u"my pool/index.php", "getuserworkers", u"a&b=c");
  ASSERT_EQ(fetch(buffer, recorder.port, target), 2);
  EXPECT_EQ(recorder.last.get_header_value("User-Agent"), "Orelog");
  EXPECT_FALSE(recorder.last.has_header("Accept"));
  EXPECT_EQ(recorder.last.target, "/my%20pool/index.php?page=api&action=getuserworkers&api_key=a%26b%3Dc");
  EXPECT_EQ(recorder.last.get_param_value("api_key"), "a&b=c");
}

TEST(Fetch, FollowsRedirectsAsWinHttpDoes) {
  RecordingServer recorder;
  ResponseBuffer buffer;
  ASSERT_EQ(fetch(buffer, recorder.port, u"/moved"), 2);
  EXPECT_EQ(recorder.last.path, "/landing");
}

TEST(Fetch, EscapesWhatCannotStandInATarget) {
  RecordingServer recorder;
  ResponseBuffer buffer;
  ASSERT_EQ(fetch(buffer, recorder.port, u"/a b/もな?x=1"), 2);
  EXPECT_EQ(recorder.last.target, "/a%20b/%E3%82%82%E3%81%AA?x=1");
}

TEST(Fetch, HostIsANameNeverUrlSyntax) {
  RecordingServer recorder;
  ResponseBuffer buffer;
  // As URL syntax "user@127.0.0.1" would reach the loopback server; as a host name it resolves nowhere.
  for (const char16_t* host : {u"user@127.0.0.1", u"127.0.0.1/x", u"127.0.0.1?x", u"127.0.0.1#x", u""}) {
    EXPECT_EQ(fetchResult(buffer, recorder.port, kBalanceTarget, host).failure, HttpFailure::Unreachable);
  }
}

// A server that answers every request with one byte every few milliseconds for as long as the
// client listens, and says when a request has arrived.
struct DrippingServer {
  httplib::Server server;
  int port = 0;
  std::thread thread;
  std::mutex mutex;
  std::condition_variable arrived;
  bool requested = false;
  bool silent = false;  // send nothing at all, not even the headers
  std::atomic<bool> stopping = false;  // the server waits for its handlers, so they end first

  explicit DrippingServer(bool silentServer = false) : silent(silentServer) {
    server.Get(".*", [this](const httplib::Request&, httplib::Response& response) {
      {
        std::lock_guard lock(mutex);
        requested = true;
      }
      arrived.notify_all();
      if (silent) {
        while (!stopping) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return;
      }
      response.set_chunked_content_provider("text/html", [this](size_t, httplib::DataSink& sink) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return !stopping && sink.write("x", 1);
      });
    });
    port = server.bind_to_any_port("127.0.0.1");
    thread = std::thread([this] { server.listen_after_bind(); });
    waitUntilRunning(server);
  }
  void waitForRequest() {
    std::unique_lock lock(mutex);
    arrived.wait(lock, [this] { return requested; });
  }
  ~DrippingServer() {
    stopping = true;
    server.stop();
    thread.join();
  }
};

TEST(Fetch, APoolThatKeepsDrippingMeetsTheOverallDeadline) {
  DrippingServer server;
  ResponseBuffer buffer;
  // Every byte comes long before the idle time-outs; only the deadline for the whole request ends it.
  const HttpTimeouts timeouts{10000, 2000, 3000, 1500};
  const HttpResult result = httpGet({kLoopback, server.port, false, kBalanceTarget}, buffer.span(), timeouts, FetchCancel{});
  EXPECT_EQ(result.failure, HttpFailure::TimedOut);
  EXPECT_EQ(result.status, 200);  // the answer had begun
}

TEST(Fetch, ACancelFromAnotherThreadEndsAWaitingFetch) {
  for (bool silent : {true, false}) {
    DrippingServer server(silent);
    ResponseBuffer buffer;
    FetchCancel cancel;
    HttpResult result;
    // Time-outs far beyond the test's own limit: only the cancel can end this fetch.
    const HttpTimeouts patient{3600000, 3600000, 3600000, 3600000};
    std::thread fetcher([&] {
      result = httpGet({kLoopback, server.port, false, kBalanceTarget}, buffer.span(), patient, cancel);
    });
    server.waitForRequest();
    cancel.cancel();
    fetcher.join();
    EXPECT_EQ(result.failure, HttpFailure::Cancelled) << (silent ? "silent" : "dripping");
  }
}

TEST(Fetch, ACancelledFetchDoesNotStart) {
  DemoPoolProcess pool;
  ResponseBuffer buffer;
  FetchCancel cancel;
  cancel.cancel();
  EXPECT_EQ(httpGet({kLoopback, pool.port, false, kBalanceTarget}, buffer.span(), kTestTimeouts, cancel).failure,
            HttpFailure::Cancelled);
}

struct ThrowawayCertificate {
  test::TempFolder folder;
  std::string cert = (folder.path / "cert.pem").string();
  std::string key = (folder.path / "key.pem").string();
  bool made = false;

  ThrowawayCertificate() {
    const std::string command = "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 1"
                                " -subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1 -keyout '" +
                                key + "' -out '" + cert + "' >/dev/null 2>&1";
    made = std::system(command.c_str()) == 0;
  }
};

TEST(Fetch, SelfSignedCertificateFailsTheSecureFetch) {
  ThrowawayCertificate certificate;
  ASSERT_TRUE(certificate.made);
  httplib::SSLServer server(certificate.cert.c_str(), certificate.key.c_str());
  ASSERT_TRUE(server.is_valid());
  RecordingServer plain;
  const std::string plainUrl = "http://127.0.0.1:" + std::to_string(plain.port) + "/";
  server.Get(".*", [&](const httplib::Request& request, httplib::Response& response) {
    if (request.path == "/down") return response.set_redirect(plainUrl);
    response.set_content("{}", "text/html");
  });
  const int port = server.bind_to_any_port("127.0.0.1");
  std::thread thread([&] { server.listen_after_bind(); });
  waitUntilRunning(server);

  ResponseBuffer buffer;
  EXPECT_EQ(fetchResult(buffer, port, kBalanceTarget, kLoopback, true).failure, HttpFailure::Certificate);
  // A server that speaks no TLS at all fails the handshake, not the certificate.
  EXPECT_EQ(fetchResult(buffer, plain.port, kBalanceTarget, kLoopback, true).failure, HttpFailure::SecureChannel);
  // The same server is reachable over TLS once its certificate is trusted: the check is what failed.
  EXPECT_EQ(fetch(buffer, port, kBalanceTarget, kLoopback, true, certificate.cert), 2);
  // A secure request never follows a redirect down to plain HTTP.
  EXPECT_EQ(curlHttpGet({kLoopback, port, true, u"/down"}, buffer.span(), kTestTimeouts, FetchCancel{}, certificate.cert)
                .failure,
            HttpFailure::RedirectedAway);

  server.stop();
  thread.join();
}

}  // namespace
}  // namespace orelog
