// The single-instance guard over flock(2), held until released or until the process ends; the
// holder's channel is a datagram socket that takes one four-byte user time per request.
#include "instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace orelog {

namespace {

// The socket's address, or nullopt for a path longer than an address holds.
std::optional<sockaddr_un> channelAddress(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof(address.sun_path)) return std::nullopt;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return address;
}

// Only the lock's holder binds here, so a socket left by a copy that died is its own to replace.
void openChannel(InstanceLock& lock, const std::string& path) {
  const auto address = channelAddress(path);
  if (!address) return;
  const int channel = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (channel < 0) return;
  unlink(path.c_str());
  if (bind(channel, reinterpret_cast<const sockaddr*>(&*address), sizeof(*address)) != 0) {
    close(channel);
    return;
  }
  lock.channel = channel;
  lock.channelPath = path;
}

}  // namespace

std::string instanceLockPath() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime) return std::string(runtime) + "/orelog.lock";
  // /tmp is shared by every user: a name of one's own, and no following links planted there.
  return "/tmp/orelog-" + std::to_string(getuid()) + ".lock";
}

std::string raiseChannelPath(const std::string& lockPath) {
  return std::filesystem::path(lockPath).replace_extension(".raise").string();
}

bool acquireInstanceLock(InstanceLock& lock, const std::string& path) {
  if (lock.fd >= 0) return true;
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return true;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool heldElsewhere = errno == EWOULDBLOCK;
    close(fd);
    return !heldElsewhere;
  }
  lock.fd = fd;
  openChannel(lock, raiseChannelPath(path));
  return true;
}

void releaseInstanceLock(InstanceLock& lock) {
  if (lock.channel >= 0) {
    unlink(lock.channelPath.c_str());  // while the lock is still held: never a later holder's socket
    close(lock.channel);
    lock.channel = -1;
    lock.channelPath.clear();
  }
  if (lock.fd < 0) return;
  flock(lock.fd, LOCK_UN);
  close(lock.fd);
  lock.fd = -1;
}

std::optional<uint32_t> takeRaiseRequest(const InstanceLock& lock) {
  if (lock.channel < 0) return std::nullopt;
  uint32_t userTime = 0;
  const ssize_t got = recv(lock.channel, &userTime, sizeof(userTime), MSG_DONTWAIT);
  if (got < 0) return std::nullopt;
  return got == sizeof(userTime) ? userTime : 0;  // a short datagram still asks, without a time
}

bool askHolderToRaise(const std::string& lockPath, uint32_t userTime) {
  const auto address = channelAddress(raiseChannelPath(lockPath));
  if (!address) return false;
  const int channel = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (channel < 0) return false;
  const ssize_t sent = sendto(channel, &userTime, sizeof(userTime), MSG_DONTWAIT,
                              reinterpret_cast<const sockaddr*>(&*address), sizeof(*address));
  close(channel);
  return sent == sizeof(userTime);
}

}  // namespace orelog
