// The single-instance guard: an advisory lock on a file in the user's runtime folder.
#pragma once
#include <string>

namespace orelog {

struct InstanceLock {
  int fd = -1;
};

// $XDG_RUNTIME_DIR/orelog.lock, or a per-user file in /tmp when that is unset.
std::string instanceLockPath();
// False only when another process holds the lock. A lock file that cannot be opened at all does
// not keep the game from running.
bool acquireInstanceLock(InstanceLock& lock, const std::string& path);
void releaseInstanceLock(InstanceLock& lock);

}  // namespace orelog
