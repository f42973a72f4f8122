// The header flood. The HTTP library writes a response's headers itself and always ends them, so
// the flood finds the connection's socket by its peer and writes on it directly.
#include "header_flood.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string_view>

namespace orelog::demo {
namespace {

constexpr std::string_view kStatusLine = "HTTP/1.1 200 OK\r\n";
constexpr std::size_t kBatchBytes = 64 * 1024;  // header lines per write
constexpr const char* kOpenDescriptors = "/proc/self/fd";

bool isPeer(int socket, const std::string& address, int port) {
  sockaddr_in peer{};
  socklen_t size = sizeof peer;
  if (getpeername(socket, reinterpret_cast<sockaddr*>(&peer), &size) != 0 || peer.sin_family != AF_INET)
    return false;
  char text[INET_ADDRSTRLEN] = {};
  return ntohs(peer.sin_port) == port && inet_ntop(AF_INET, &peer.sin_addr, text, sizeof text) != nullptr &&
         address == text;
}

std::optional<int> connectionTo(const std::string& address, int port) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(kOpenDescriptors, error)) {
    const std::string name = entry.path().filename().string();
    int descriptor = -1;
    const auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), descriptor);
    if (ec == std::errc() && end == name.data() + name.size() && isPeer(descriptor, address, port))
      return descriptor;
  }
  return std::nullopt;
}

bool sendAll(int socket, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = send(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

// The next batch of numbered header lines, each "X-Flood-N: xxx...".
std::string headerLines(unsigned long long& next) {
  std::string batch;
  batch.reserve(kBatchBytes + 128);
  char line[128];
  while (batch.size() < kBatchBytes) {
    const int length = std::snprintf(line, sizeof line, "X-Flood-%llu: %s\r\n", next++,
                                     "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx");
    batch.append(line, static_cast<std::size_t>(length));
  }
  return batch;
}

}  // namespace

bool floodHeaders(const std::string& peerAddress, int peerPort) {
  const std::optional<int> socket = connectionTo(peerAddress, peerPort);
  if (!socket) return false;
  unsigned long long next = 0;
  if (sendAll(*socket, kStatusLine)) {
    while (sendAll(*socket, headerLines(next))) {
    }
  }
  shutdown(*socket, SHUT_RDWR);
  return true;
}

}  // namespace orelog::demo
