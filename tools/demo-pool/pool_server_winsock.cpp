// The demo pool's HTTP side over Winsock, for the Windows program: one thread per connection, one
// request per connection, each answer closed by the server.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <thread>

#include "pool_server.h"

namespace orelog::demo {
namespace {

constexpr std::size_t kMostRequestBytes = 16 * 1024;  // a pool's request line and headers fit well within
constexpr int kBacklog = 16;
constexpr int kHexBase = 16;

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A query's name or value: "%XX" is a byte and "+" a space; a stray "%" stays as it is.
std::string decoded(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      out += ' ';
    } else if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(hexValue(text[i + 1]) * kHexBase + hexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// The query of "GET /path?a=1&b=2 HTTP/1.1".
ServedRequest parseRequestLine(std::string_view head) {
  ServedRequest request;
  const std::string_view line = head.substr(0, head.find("\r\n"));
  const std::size_t targetStart = line.find(' ');
  if (targetStart == std::string_view::npos) return request;
  std::string_view target = line.substr(targetStart + 1);
  target = target.substr(0, target.find(' '));
  request.target = std::string(target);
  const std::size_t question = target.find('?');
  if (question == std::string_view::npos) return request;
  std::string_view query = target.substr(question + 1);
  while (!query.empty()) {
    const std::string_view pair = query.substr(0, query.find('&'));
    query.remove_prefix(std::min(query.size(), pair.size() + 1));
    const std::size_t equals = pair.find('=');
    const std::string name = decoded(pair.substr(0, equals));
    const std::string value = equals == std::string_view::npos ? std::string() : decoded(pair.substr(equals + 1));
    request.query.emplace(name, value);
  }
  return request;
}

bool sendAll(SOCKET connection, std::string_view bytes) {
  while (!bytes.empty()) {
    const int sent = send(connection, bytes.data(), static_cast<int>(std::min<std::size_t>(bytes.size(), 1 << 20)), 0);
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

std::string statusLine(int status) {
  const char* reason = status == 200   ? "OK"
                       : status == 302 ? "Found"
                       : status == 401 ? "Unauthorized"
                       : status == 404 ? "Not Found"
                                       : "Status";
  return "HTTP/1.1 " + std::to_string(status) + " " + reason + "\r\n";
}

constexpr int kRedirectStatus = 302;

// The answer's bytes as they go on the wire: a redirect, half the body in chunks without the last
// one, half the body of an announced whole, or the whole answer.
std::string wireAnswer(const Answer& answer, const std::string& target) {
  if (answer.redirectTo) {
    return statusLine(kRedirectStatus) + "Location: " + (answer.redirectTo->empty() ? target : *answer.redirectTo) +
           "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
  }
  const std::string head = statusLine(answer.status) + "Content-Type: " + kContentType + "\r\n";
  if (answer.chunkedCut) {
    const std::string half = answer.body.substr(0, answer.body.size() / 2);
    char size[32];
    std::snprintf(size, sizeof size, "%zx\r\n", half.size());
    return head + "Transfer-Encoding: chunked\r\nConnection: close\r\n\r\n" + size + half + "\r\n";
  }
  const std::string header =
      head + "Content-Length: " + std::to_string(answer.body.size()) + "\r\nConnection: close\r\n\r\n";
  if (answer.closeEarly || answer.stallEarly) return header + answer.body.substr(0, answer.body.size() / 2);
  return header + answer.body;
}

// Reads the request's head, answers it and closes the connection.
void serveConnection(SOCKET connection, const RequestHandler& handler) {
  std::string head;
  char chunk[2048];
  while (head.find("\r\n\r\n") == std::string::npos && head.size() < kMostRequestBytes) {
    const int got = recv(connection, chunk, sizeof chunk, 0);
    if (got <= 0) break;
    head.append(chunk, static_cast<std::size_t>(got));
  }
  if (head.rfind("GET ", 0) == 0) {
    const ServedRequest request = parseRequestLine(head);
    const Answer answer = handler(request);
    sendAll(connection, wireAnswer(answer, request.target));
    if (answer.stallEarly && !answer.redirectTo && !answer.chunkedCut) stall(0);
  }
  shutdown(connection, SD_BOTH);
  closesocket(connection);
}

}  // namespace

int servePool(int port, const RequestHandler& handler) {
  WSADATA data{};
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return 1;
  SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<u_short>(port));
  inet_pton(AF_INET, kListenAddress, &address.sin_addr);
  int size = sizeof address;
  if (listener == INVALID_SOCKET || bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener, kBacklog) != 0 || getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    std::fprintf(stderr, "demo-pool: cannot listen on %s:%d\n", kListenAddress, port);
    return 1;
  }
  std::printf("http://%s:%d/\n", kListenAddress, ntohs(address.sin_port));
  std::fflush(stdout);
  for (;;) {
    const SOCKET connection = accept(listener, nullptr, nullptr);
    if (connection == INVALID_SOCKET) continue;
    std::thread(serveConnection, connection, std::cref(handler)).detach();
  }
}

}  // namespace orelog::demo
