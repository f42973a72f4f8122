// The single-instance guard: an advisory lock on a file in the user's runtime folder, and beside it
// the holder's channel, on which a later copy asks the running one to come to the front.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace orelog {

struct InstanceLock {
  int fd = -1;
  int channel = -1;  // the holder's datagram socket; -1 while it has none
  std::string channelPath;
};

// $XDG_RUNTIME_DIR/orelog.lock, or a per-user file in /tmp when that is unset.
std::string instanceLockPath();
// False only when another process holds the lock. A lock file that cannot be opened at all does
// not keep the game from running. The holder also opens its channel where it can.
bool acquireInstanceLock(InstanceLock& lock, const std::string& path);
void releaseInstanceLock(InstanceLock& lock);

// The channel's socket beside the lock file.
std::string raiseChannelPath(const std::string& lockPath);
// One waiting request from a later copy: the time of that copy's last user input (0 when it had
// none), or nullopt when none waits. Never blocks.
std::optional<uint32_t> takeRaiseRequest(const InstanceLock& lock);
// A later copy's request to the holder of the lock at lockPath; false when no holder listens.
bool askHolderToRaise(const std::string& lockPath, uint32_t userTime);

}  // namespace orelog
