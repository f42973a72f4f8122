// config.json as a file: permissions, symbolic links, planted and left-over temporary files, pipes,
// devices and oversized files.
#include "services/record_file.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "profile/catalogue.h"
#include "profile/settings.h"
#include "tests/support/read_file.h"
#include "tests/support/temp_folder.h"

namespace orelog {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t kNow = 1;
const std::string kOld = R"({"Level":4,"Server":"http:\/\/old\/"})";

class RecordFile : public ::testing::Test {
 protected:
  fs::path file(const std::string& name = "config.json") const { return temp_.file(name); }
  static void writeTo(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static mode_t permissions(const fs::path& path) {
    struct stat status {};
    EXPECT_EQ(::lstat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
  }
  // A record whose file text differs from kOld.
  static PlayerRecord newRecord() {
    PlayerRecord record;
    record.level = 9;
    record.apiKey = u"secret";
    return record;
  }
  // The names in the folder, sorted.
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (const auto& entry : fs::directory_iterator(temp_.path))
      out.push_back(entry.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
  }

  test::TempFolder temp_{"orelog-record-file"};
};

TEST_F(RecordFile, ASaveKeepsTheRecordsPermissionsAndANewRecordIsTheOwnersOnly) {
  for (const mode_t mode : {0600, 0640, 0644, 0400}) {
    writeTo(file(), kOld);
    ASSERT_EQ(::chmod(file().c_str(), mode), 0);
    EXPECT_TRUE(saveSettings(newRecord(), file()));
    EXPECT_EQ(permissions(file()), mode) << std::oct << mode;
  }
  fs::remove(file());
  const mode_t oldMask = ::umask(0);  // even with nothing masked out
  const bool saved = saveSettings(newRecord(), file());
  ::umask(oldMask);
  EXPECT_TRUE(saved);
  EXPECT_EQ(permissions(file()), 0600u);
}

// A link to the record, a chain of two and a link whose target does not exist yet: the target gets
// the new record, every link stays a link.
TEST_F(RecordFile, ASaveWritesThroughSymbolicLinks) {
  fs::create_directory(file("real"));
  struct Case {
    std::vector<std::pair<std::string, std::string>> links;  // name -> what it points at
    bool targetExists;
  };
  const Case cases[] = {
      {{{"config.json", "real/target.json"}}, true},
      {{{"config.json", "hop.json"}, {"hop.json", temp_.path.string() + "/real/target.json"}}, true},
      {{{"config.json", "real/target.json"}}, false},
  };
  for (const Case& c : cases) {
    for (const char* name : {"config.json", "hop.json"}) fs::remove(file(name));
    fs::remove(file("real/target.json"));
    if (c.targetExists) {
      writeTo(file("real/target.json"), kOld);
      fs::permissions(file("real/target.json"), fs::perms(0640));
    }
    for (const auto& [name, to] : c.links) fs::create_symlink(to, file(name));
    const PlayerRecord record = newRecord();
    ASSERT_TRUE(saveSettings(record, file()));
    for (const auto& [name, _] : c.links) EXPECT_TRUE(fs::is_symlink(file(name))) << name;
    PlayerRecord reloaded;
    EXPECT_TRUE(loadSettings(reloaded, file("real/target.json"), kNow));
    EXPECT_EQ(reloaded.level, 9);
    EXPECT_EQ(permissions(file("real/target.json")), c.targetExists ? 0640u : 0600u);
    EXPECT_EQ(names().size(), c.links.size() + 1) << "a temporary file was left beside the link";
    for (const auto& entry : fs::directory_iterator(file("real"))) {
      EXPECT_EQ(entry.path().filename(), "target.json") << "a temporary file was left in the target's folder";
    }
  }
}

TEST_F(RecordFile, ALinkLoopIsNeitherFollowedNorReplaced) {
  fs::create_symlink("b.json", file());
  fs::create_symlink("config.json", file("b.json"));
  EXPECT_FALSE(saveSettings(newRecord(), file()));
  EXPECT_TRUE(fs::is_symlink(file()));
  PlayerRecord record;
  EXPECT_FALSE(loadSettings(record, file(), kNow));
}

// A link planted under a temporary file's name, or a folder there, is never written through or removed.
TEST_F(RecordFile, PlantedNamesBesideTheRecordAreNeverFollowed) {
  writeTo(file("victim"), "untouched");
  writeTo(file(), kOld);
  const std::vector<std::string> planted = {"config.json.AAAAAA.tmp", "config.json.tmp",
                                            "config.json.zzzzzz.tmp"};
  for (const auto& name : planted) fs::create_symlink(file("victim"), file(name));
  fs::create_directory(file("config.json.dirdir.tmp"));
  for (int save = 0; save < 20; ++save) ASSERT_TRUE(saveSettings(newRecord(), file()));
  EXPECT_EQ(test::readFile(file("victim")), "untouched");
  for (const auto& name : planted) EXPECT_TRUE(fs::is_symlink(file(name))) << name;
  EXPECT_TRUE(fs::is_directory(file("config.json.dirdir.tmp")));
  EXPECT_FALSE(fs::is_symlink(file()));
}

// A killed writer leaves its temporary file behind; the next save removes it, but never one that
// a live writer still holds.
TEST_F(RecordFile, LeftoverTemporaryFilesAreRemovedOnceNobodyHoldsThem) {
  writeTo(file(), kOld);
  writeTo(file("config.json.left01.tmp"), R"({"Level":77})");
  writeTo(file("config.json.held01.tmp"), R"({"Level":78})");
  const int held = ::open(file("config.json.held01.tmp").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  PlayerRecord record;
  ASSERT_TRUE(loadSettings(record, file(), kNow));
  EXPECT_EQ(record.level, 4);  // the leftovers are never read as the record
  ASSERT_TRUE(saveSettings(newRecord(), file()));
  EXPECT_EQ(names(), (std::vector<std::string>{"config.json", "config.json.held01.tmp"}));
  ::close(held);
  ASSERT_TRUE(saveSettings(newRecord(), file()));
  EXPECT_EQ(names(), std::vector<std::string>{"config.json"});
}

// Neither blocks nor reads without end: each is a damaged file that gives the defaults.
TEST_F(RecordFile, APipeADeviceOrAnOversizedFileIsDamaged) {
  struct Case {
    const char* what;
    void (*make)(const fs::path&);
    bool keptAside;  // a regular file is copied aside for recovery by hand
  };
  const Case cases[] = {
      {"a pipe", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }, false},
      {"a link to /dev/zero", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); }, false},
      {"a link to /dev/tty", [](const fs::path& p) { fs::create_symlink("/dev/tty", p); }, false},
      {"a file beyond the size limit",
       [](const fs::path& p) {
         writeTo(p, kOld);
         fs::resize_file(p, kRecordFileMaxBytes + 1);  // sparse: no disk space is used
       },
       true},
  };
  for (const Case& c : cases) {
    fs::remove(file());
    c.make(file());
    PlayerRecord record;
    record.level = 5;
    EXPECT_FALSE(loadSettings(record, file(), kNow)) << c.what;
    EXPECT_EQ(record.level, 1) << c.what;
    EXPECT_EQ(fs::exists(fs::symlink_status(file("config.json.broken"))), c.keptAside) << c.what;
    fs::remove(file("config.json.broken"));
    fs::remove(file());  // a save must not be tried through a link to a real device
  }
}

// The next save puts a regular file in the place of a pipe or a link to one, and leaves what the
// link points at alone: a device at the end of a link would otherwise be renamed over.
TEST_F(RecordFile, ASaveReplacesAPipeOrALinkToOneByARecord) {
  for (const bool throughLink : {false, true}) {
    for (const char* name : {"config.json", "pipe"}) fs::remove(file(name));
    ASSERT_EQ(::mkfifo(file(throughLink ? "pipe" : "config.json").c_str(), 0600), 0);
    if (throughLink) fs::create_symlink("pipe", file());
    EXPECT_TRUE(saveSettings(newRecord(), file())) << throughLink;
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(file()))) << throughLink;
    if (throughLink) {
      EXPECT_TRUE(fs::is_fifo(file("pipe")));
    }
    PlayerRecord record;
    EXPECT_TRUE(loadSettings(record, file(), kNow));
    EXPECT_EQ(record.level, 9);
  }
}

// A damaged record is kept aside before anything can overwrite it. A link planted under a copy's
// name is never written through, a folder never replaced: the copy takes the next free name.
TEST_F(RecordFile, ADamagedRecordIsKeptAsideWithoutFollowingOrLosingAnything) {
  const std::string damaged = R"({"API Key":"demo","Level":37,"Experience":"lots"})";
  struct Case {
    const char* what;
    std::vector<std::pair<std::string, std::string>> links;  // name -> what it points at
    std::vector<std::string> folders;
    const char* copy;  // where the damaged file ends up
  };
  const Case cases[] = {
      {"nothing planted", {}, {}, "config.json.broken"},
      {"a link to another file of the player's", {{"config.json.broken", "mine.json"}}, {}, "config.json.broken-2"},
      {"a link to a file not there yet", {{"config.json.broken", "new.json"}}, {}, "config.json.broken-2"},
      {"a folder", {}, {"config.json.broken"}, "config.json.broken-2"},
      {"a folder and a link",
       {{"config.json.broken-2", "mine.json"}},
       {"config.json.broken"},
       "config.json.broken-3"},
  };
  for (const Case& c : cases) {
    fs::remove_all(temp_.path);
    fs::create_directory(temp_.path);
    writeTo(file(), damaged);
    writeTo(file("mine.json"), "the player's own file");
    for (const auto& [name, to] : c.links) fs::create_symlink(to, file(name));
    for (const auto& name : c.folders) fs::create_directory(file(name));
    PlayerRecord record;
    const SettingsLoad load = loadSettings(record, file(), kNow);
    EXPECT_FALSE(load.loaded) << c.what;
    EXPECT_TRUE(load.savesAllowed()) << c.what;
    ASSERT_TRUE(saveSettings(record, file())) << c.what;
    EXPECT_EQ(test::readFile(file(c.copy)), damaged) << c.what;
    EXPECT_FALSE(fs::is_symlink(file(c.copy))) << c.what;
    EXPECT_EQ(permissions(file(c.copy)), 0600u) << c.what << ": it holds the API key";
    EXPECT_EQ(test::readFile(file("mine.json")), "the player's own file") << c.what;
    EXPECT_FALSE(fs::exists(file("new.json"))) << c.what;
    for (const auto& [name, _] : c.links) EXPECT_TRUE(fs::is_symlink(file(name))) << c.what;
    for (const auto& name : c.folders) EXPECT_TRUE(fs::is_directory(file(name))) << c.what;
  }
}

// With every name for the copy taken, the load says saving is off; the file is then the only copy.
TEST_F(RecordFile, ADamagedRecordWithNoNameForItsCopyTurnsSavingOff) {
  const std::string damaged = R"({"API Key":"demo","Level":"37"})";
  writeTo(file(), damaged);
  fs::create_directory(file("config.json.broken"));
  for (int number = 2; number <= 9; ++number) {
    fs::create_symlink("config.json", file("config.json.broken-" + std::to_string(number)));
  }
  PlayerRecord record;
  const SettingsLoad load = loadSettings(record, file(), kNow);
  EXPECT_FALSE(load.loaded);
  EXPECT_FALSE(load.savesAllowed());
  EXPECT_EQ(test::readFile(file()), damaged);
  EXPECT_EQ(names().size(), 10u) << "nothing was added or removed";
}

// A record as large as a load accepts, less a little, is written, read and written again the same;
// a record whose text would be larger than that is not written, and the old file stays.
TEST_F(RecordFile, ASaveNeverWritesARecordItsLoadWouldRefuse) {
  const std::string oneItem = R"({"Item ID":0,"X":0,"Y":0},)";
  PlayerRecord large;
  ASSERT_TRUE(saveSettings(large, file()));
  const std::size_t items = (kRecordFileMaxBytes - fs::file_size(file())) / oneItem.size();
  large.items.assign(items, ownedItemOfKind(0, 0, 0));
  ASSERT_TRUE(saveSettings(large, file()));
  const std::string written = test::readFile(file());
  EXPECT_LE(written.size(), kRecordFileMaxBytes);
  EXPECT_GT(written.size(), kRecordFileMaxBytes - oneItem.size());
  PlayerRecord reloaded;
  ASSERT_TRUE(loadSettings(reloaded, file(), kNow));
  EXPECT_EQ(reloaded.items.size(), items);
  ASSERT_TRUE(saveSettings(reloaded, file()));
  EXPECT_EQ(test::readFile(file()), written);

  // Only items, up to the limit: it loads, but the save adds the other members.
  std::string itemsOnly = R"({"Items":[)";
  while (itemsOnly.size() + oneItem.size() + 2 <= kRecordFileMaxBytes) itemsOnly += oneItem;
  itemsOnly.back() = ']';
  itemsOnly += '}';
  writeTo(file(), itemsOnly);
  PlayerRecord full;
  const SettingsLoad load = loadSettings(full, file(), kNow);
  ASSERT_TRUE(load);
  EXPECT_EQ(load.savesOff, SavesOff::TooLargeToSave) << "said at start-up, not found out at each save";
  EXPECT_FALSE(saveSettings(full, file()));
  EXPECT_EQ(test::readFile(file()), itemsOnly);
  EXPECT_EQ(names(), std::vector<std::string>{"config.json"});
}

// Runs `check` in a process of its own that cannot read a 0600 file of this user's: as another
// user when this one is root (whom permissions do not stop), else as this user. True when `check`
// returned true.
bool asAnotherUser(const std::function<bool()>& check) {
  constexpr uid_t kNobody = 65534;
  const pid_t child = fork();
  if (child == 0) {
    if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0)) _exit(2);
    _exit(check() ? 0 : 1);
  }
  int status = 0;
  return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A record that exists but cannot be read (left owner-only by another user, or in a folder that
// cannot be entered) is never taken for a missing one: nothing is kept aside, nothing replaces it,
// and the load says why saving is off.
TEST_F(RecordFile, AnUnreadableRecordIsNeverReplaced) {
  const bool root = geteuid() == 0;
  struct Case {
    const char* what;
    mode_t file, folder;
  };
  const Case cases[] = {{"an owner-only file", root ? 0600u : 0u, 0755}, {"a folder that cannot be entered", 0600, root ? 0700u : 0u}};
  for (const Case& c : cases) {
    writeTo(file(), kOld);
    fs::permissions(file(), static_cast<fs::perms>(c.file));
    fs::permissions(temp_.path, static_cast<fs::perms>(c.folder));
    const bool right = asAnotherUser([&] {
      PlayerRecord record;
      const SettingsLoad load = loadSettings(record, file(), kNow);
      return readRecordFile(file()).state == RecordFileState::Unreadable && !load.loaded &&
             load.savesOff == SavesOff::Unreadable && record.level == 1;
    });
    fs::permissions(temp_.path, fs::perms::owner_all);
    fs::permissions(file(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(right) << c.what;
    EXPECT_EQ(test::readFile(file()), kOld) << c.what;
    EXPECT_EQ(names(), std::vector<std::string>{"config.json"}) << c.what;
  }
}

TEST_F(RecordFile, ReadingStopsAtTheLimit) {
  writeTo(file(), "0123456789");
  EXPECT_EQ(readRecordFile(file(), 10).state, RecordFileState::Read);
  EXPECT_EQ(readRecordFile(file(), 10).bytes, "0123456789");
  EXPECT_EQ(readRecordFile(file(), 9).state, RecordFileState::Damaged);
  EXPECT_EQ(readRecordFile(file("absent"), 9).state, RecordFileState::Missing);
}

// The largest records a load accepts are read within 256 MB, measured in a process of its own: a
// tree of the whole document took several times the file's size for each element.
TEST(RecordFileMemory, LoadingTheLargestRecordsStaysWithinItsBudget) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's shadow memory would be counted as well";
#endif
  constexpr long kBudgetKilobytes = 256 * 1024;
  constexpr rlim_t kAddressSpaceLimit = rlim_t{1} << 30;  // a runaway load fails instead of swapping
  struct Case {
    std::string element;
    bool loads;
    std::size_t items;  // per element
  };
  const Case cases[] = {{"{}", false, 0}, {R"({"Item ID":1,"X":2,"Y":3})", true, 1}};
  test::TempFolder folder{"orelog-record-memory"};
  const fs::path file = folder.file("config.json");
  for (const Case& c : cases) {
    const std::size_t count = (kRecordFileMaxBytes - 13) / (c.element.size() + 1);
    {
      std::ofstream out(file, std::ios::binary | std::ios::trunc);
      out << R"({"Items":[)" << c.element;
      const std::string next = "," + c.element;
      for (std::size_t i = 1; i < count; ++i) out.write(next.data(), static_cast<std::streamsize>(next.size()));
      out << "]}";
    }
    ASSERT_LE(fs::file_size(file), kRecordFileMaxBytes);
    const pid_t child = fork();
    if (child == 0) {
      const rlimit limit{kAddressSpaceLimit, kAddressSpaceLimit};
      setrlimit(RLIMIT_AS, &limit);
      PlayerRecord record;
      const bool loaded = loadSettings(record, file, kNow).loaded;
      rusage usage{};
      getrusage(RUSAGE_SELF, &usage);
      std::fprintf(stderr, "%s: peak %ld KB\n", c.element.c_str(), usage.ru_maxrss);
      const bool right = loaded == c.loads && record.items.size() == count * c.items;
      _exit(right && usage.ru_maxrss <= kBudgetKilobytes ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << c.element << ": status " << status;
  }
}

}  // namespace
}  // namespace orelog
