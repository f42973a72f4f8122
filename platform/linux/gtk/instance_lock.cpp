// The single-instance guard over flock(2): held until released or until the process ends.
#include "instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace orelog {

std::string instanceLockPath() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime) return std::string(runtime) + "/orelog.lock";
  // /tmp is shared by every user: a name of one's own, and no following links planted there.
  return "/tmp/orelog-" + std::to_string(getuid()) + ".lock";
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
  return true;
}

void releaseInstanceLock(InstanceLock& lock) {
  if (lock.fd < 0) return;
  flock(lock.fd, LOCK_UN);
  close(lock.fd);
  lock.fd = -1;
}

}  // namespace orelog
