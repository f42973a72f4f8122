// The demo pool's HTTP side over cpp-httplib.
#include <cstdio>

#include <httplib.h>

#include "header_flood.h"
#include "pool_server.h"

namespace orelog::demo {
namespace {

// Announces the whole body and sends half of it; then drops the connection or falls silent.
void sendHalf(httplib::Response& response, const std::string& body, bool thenStall) {
  response.set_content_provider(body.size(), kContentType,
                                [body, thenStall](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                  if (offset == 0 && body.size() > 1) sink.write(body.data(), body.size() / 2);
                                  if (thenStall) stall(0);
                                  return false;
                                });
}

// Sends half the body as chunks and hangs up without the last, zero-size chunk.
void sendChunksCut(httplib::Response& response, const std::string& body) {
  response.set_chunked_content_provider(kContentType, [body](std::size_t, httplib::DataSink& sink) {
    sink.write(body.data(), body.size() / 2);
    return false;
  });
}

void serve(const RequestHandler& handler, const httplib::Request& request, httplib::Response& response) {
  ServedRequest served;
  served.target = request.target;
  for (const auto& [name, value] : request.params) served.query.emplace(name, value);
  const Answer answer = handler(served);
  // The library's own answer after the flood finds the connection shut down and goes nowhere.
  if (answer.floodHeaders && floodHeaders(request.remote_addr, request.remote_port)) return;
  if (answer.redirectTo) return response.set_redirect(answer.redirectTo->empty() ? request.target : *answer.redirectTo);
  response.status = answer.status;
  if (answer.chunkedCut) return sendChunksCut(response, answer.body);
  if (answer.closeEarly || answer.stallEarly) return sendHalf(response, answer.body, answer.stallEarly);
  response.set_content(answer.body, kContentType);
}

}  // namespace

int servePool(int port, const RequestHandler& handler) {
  httplib::Server server;
  server.Get(".*", [&handler](const httplib::Request& request, httplib::Response& response) {
    serve(handler, request, response);
  });
  const int bound = port == 0 ? server.bind_to_any_port(kListenAddress)
                              : (server.bind_to_port(kListenAddress, port) ? port : -1);
  if (bound <= 0) {
    std::fprintf(stderr, "demo-pool: cannot listen on %s:%d\n", kListenAddress, port);
    return 1;
  }
  std::printf("http://%s:%d/\n", kListenAddress, bound);
  std::fflush(stdout);
  return server.listen_after_bind() ? 0 : 1;
}

}  // namespace orelog::demo
