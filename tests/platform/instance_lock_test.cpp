// The single-instance lock: one holder at a time, released on request, and never a reason not to run
// when the lock file cannot be had at all.
#include "platform/linux/gtk/instance_lock.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "tests/support/temp_folder.h"

namespace orelog {
namespace {

TEST(InstanceLock, OnlyOneHolderUntilItLetsGo) {
  test::TempFolder folder;
  const std::string path = (folder.path / "orelog.lock").string();
  InstanceLock first, second;  // separate open files conflict like separate processes
  ASSERT_TRUE(acquireInstanceLock(first, path));
  EXPECT_FALSE(acquireInstanceLock(second, path));
  EXPECT_EQ(second.fd, -1);
  releaseInstanceLock(first);
  EXPECT_TRUE(acquireInstanceLock(second, path));
  releaseInstanceLock(second);
  releaseInstanceLock(second);  // a second release is harmless
}

TEST(InstanceLock, UnusableLockFileDoesNotStopTheGame) {
  test::TempFolder folder;
  const auto planted = folder.path / "planted.lock";
  std::filesystem::create_symlink(folder.path / "victim", planted);
  const struct {
    std::filesystem::path path;
    const char* why;
  } cases[] = {
      {folder.path / "no such folder" / "orelog.lock", "a missing folder"},
      {planted, "a link planted at the lock's name is not followed"},
  };
  for (const auto& c : cases) {
    InstanceLock lock;
    EXPECT_TRUE(acquireInstanceLock(lock, c.path.string())) << c.why;
    releaseInstanceLock(lock);
  }
  EXPECT_FALSE(std::filesystem::exists(folder.path / "victim")) << "nothing was created through the link";
}

// A later copy's request reaches the holder with the time of the player's input, once; with no
// holder, or after the holder let go, nobody listens.
TEST(InstanceLock, LaterCopyAsksTheHolderToComeForward) {
  test::TempFolder folder;
  const std::string path = (folder.path / "orelog.lock").string();
  EXPECT_FALSE(askHolderToRaise(path, 1)) << "no holder yet";
  InstanceLock holder;
  ASSERT_TRUE(acquireInstanceLock(holder, path));
  ASSERT_GE(holder.channel, 0);
  EXPECT_EQ(takeRaiseRequest(holder), std::nullopt) << "nothing waits before anyone asks";
  EXPECT_TRUE(askHolderToRaise(path, 123456u));
  EXPECT_EQ(takeRaiseRequest(holder), std::optional<uint32_t>(123456u));
  EXPECT_EQ(takeRaiseRequest(holder), std::nullopt) << "each request is taken once";

  InstanceLock later;
  EXPECT_FALSE(acquireInstanceLock(later, path));
  EXPECT_EQ(later.channel, -1) << "only the holder listens";
  releaseInstanceLock(holder);
  EXPECT_FALSE(std::filesystem::exists(raiseChannelPath(path))) << "the holder takes its socket along";
  EXPECT_FALSE(askHolderToRaise(path, 1));
}

// A socket left behind by a copy that died does not keep the next holder from listening.
TEST(InstanceLock, NextHolderReplacesALeftOverChannel) {
  test::TempFolder folder;
  const std::string path = (folder.path / "orelog.lock").string();
  folder.write("orelog.raise", "left over");
  InstanceLock holder;
  ASSERT_TRUE(acquireInstanceLock(holder, path));
  EXPECT_TRUE(askHolderToRaise(path, 7u));
  EXPECT_EQ(takeRaiseRequest(holder), std::optional<uint32_t>(7u));
  releaseInstanceLock(holder);
}

TEST(InstanceLock, LivesInTheRuntimeFolderOrPerUserInTmp) {
  const char* saved = std::getenv("XDG_RUNTIME_DIR");
  const std::string restore = saved ? saved : "";
  setenv("XDG_RUNTIME_DIR", "/run/user/4242", 1);
  EXPECT_EQ(instanceLockPath(), "/run/user/4242/orelog.lock");
  unsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(instanceLockPath(), "/tmp/orelog-" + std::to_string(getuid()) + ".lock");
  if (saved) setenv("XDG_RUNTIME_DIR", restore.c_str(), 1);
}

}  // namespace
}  // namespace orelog
