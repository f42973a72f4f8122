// orelog-tool update killed at random moments, alone and two at once in one folder, and on a full
// disk: config.json is always a whole record, the previous one or a later one.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <picojson.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "profile/history_rows.h"
#include "profile/settings.h"
#include "tests/support/demo_pool_process.h"
#include "tests/support/read_file.h"
#include "tests/support/shell_command.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_paths.h"
#include "util/utf.h"

namespace orelog {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const std::string kTool = test::binaryPath("orelog-tool");
// Enough cycles that the tool is always busy when it is killed.
const std::vector<std::string> kEndlessUpdate = {kTool, "update", "--cycles", "100000"};
constexpr int kKills = 300;
// The kills stop after this long even when fewer were made, so the test's time stays bounded.
constexpr auto kKillingTime = std::chrono::seconds(25);
// The writers are killed until this many kills have landed in the middle of a save, between the
// temporary file's creation and its rename (each leaves the file behind): the case the record's
// safety is for. A machine's load slows the rounds, not the share of them that land there, so the
// bound is a number of kills, not a time.
constexpr int kMidSaveKills = 5;
constexpr int kMostKills = 600;
// Once the tool has saved, a kill lands anywhere in the next cycle or two (a cycle on loopback takes
// some milliseconds, most of them in the save).
constexpr int kLatestKillMicroseconds = 20000;
// A tool that has not saved after this long has failed; the round is then given up.
constexpr auto kFirstSaveTime = std::chrono::seconds(20);

// The tool in a folder, its output discarded; `inChild` runs in the child before the program starts
// and, as the child of a process with threads, may only make system calls.
pid_t startTool(
    const fs::path& folder, const std::vector<std::string>& argv,
    const std::function<void()>& inChild = [] {}) {
  std::vector<std::string> copy = argv;
  std::vector<char*> pointers;
  for (auto& argument : copy) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    const int nowhere = open("/dev/null", O_WRONLY);
    if (chdir(folder.c_str()) != 0 || nowhere < 0 || dup2(nowhere, STDOUT_FILENO) < 0 ||
        dup2(nowhere, STDERR_FILENO) < 0) {
      _exit(126);
    }
    inChild();
    execv(pointers[0], pointers.data());
    _exit(127);
  }
  return child;
}

// The raw wait status of the child.
int waitFor(pid_t child) {
  int status = 0;
  waitpid(child, &status, 0);
  return status;
}

struct Pool {
  test::DemoPoolProcess process{{"--speed", "60"}};
  std::string url() const { return utf16ToUtf8(process.url()); }
};

void writeConnection(const test::TempFolder& folder, const Pool& pool) {
  folder.write("config.json", R"({"Server":")" + pool.url() + R"(","API Key":"demo"})");
}

// What a check of the file found; `whole` when it is a record exactly as a save writes it.
struct Seen {
  bool whole = false;
  PlayerRecord record;
  std::string why;
};

// A whole record: it loads cleanly and saving it again gives the very same bytes.
Seen inspect(const std::string& bytes, const fs::path& scratch) {
  Seen seen;
  { std::ofstream(scratch / "config.json", std::ios::binary | std::ios::trunc) << bytes; }
  if (!loadSettings(seen.record, scratch / "config.json", 0)) {
    seen.why = "does not load: \"" + bytes + "\"";
    return seen;
  }
  if (!saveSettings(seen.record, scratch / "copy.json") || test::readFile(scratch / "copy.json") != bytes) {
    seen.why = "is not as a save writes it: \"" + bytes + "\"";
    return seen;
  }
  seen.whole = true;
  return seen;
}

// config.json after a kill: the previous record, or a whole later one of the same player.
void expectPreviousOrLater(const std::string& bytes, const std::string& previous, const Pool& pool,
                           const fs::path& scratch) {
  if (bytes == previous) return;
  const Seen seen = inspect(bytes, scratch);
  ASSERT_TRUE(seen.whole) << seen.why;
  EXPECT_EQ(utf16ToUtf8(seen.record.serverUrl), pool.url());
  EXPECT_EQ(seen.record.apiKey, u"demo");
  const Seen before = inspect(previous, scratch);
  EXPECT_GE(seen.record.experience, before.record.experience) << "an older record came back";
  EXPECT_GE(seen.record.playTimeMs, before.record.playTimeMs) << "an older record came back";
}

std::vector<std::string> temporaryNames(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("config.json.", 0) == 0 && name.size() > 4 && name.substr(name.size() - 4) == ".tmp") {
      names.push_back(name);
    }
  }
  return names;
}

// A run to completion removes what killed runs left behind, and leaves nothing of its own.
void expectACompleteRunLeavesNoTemporaryFile(const test::TempFolder& folder) {
  const int status = waitFor(startTool(folder.path, {kTool, "update"}));
  EXPECT_EQ(test::exitCodeOf(status), 0);
  EXPECT_EQ(temporaryNames(folder.path), std::vector<std::string>{});
}

ino_t inodeOf(const fs::path& file) {
  struct stat status {};
  return ::stat(file.c_str(), &status) == 0 ? status.st_ino : 0;
}

// Waits until a save has renamed a new file over the record: the tool is in its cycles then.
bool waitForASave(const fs::path& file, ino_t before) {
  for (const auto start = Clock::now(); Clock::now() - start < kFirstSaveTime;) {
    if (inodeOf(file) != before) return true;
    std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  return false;
}

std::chrono::microseconds randomDelay(std::mt19937& random) {
  return std::chrono::microseconds(std::uniform_int_distribution<int>(0, kLatestKillMicroseconds)(random));
}

TEST(CrashSafety, OneWriterKilledAtRandomMomentsLeavesAWholeRecord) {
  Pool pool;
  ASSERT_NE(pool.process.port, 0);
  test::TempFolder folder{"orelog-crash"}, scratch{"orelog-crash-check"};
  writeConnection(folder, pool);
  std::mt19937 random(20240501);
  std::string previous = test::readFile(folder.file("config.json"));
  int kills = 0, midSave = 0;
  for (; midSave < kMidSaveKills && kills < kMostKills; ++kills) {
    const ino_t before = inodeOf(folder.file("config.json"));
    const pid_t tool = startTool(folder.path, kEndlessUpdate);
    const bool saved = waitForASave(folder.file("config.json"), before);
    std::this_thread::sleep_for(randomDelay(random));
    kill(tool, SIGKILL);
    waitFor(tool);
    ASSERT_TRUE(saved) << "the tool never saved";
    const std::string now = test::readFile(folder.file("config.json"));
    ASSERT_NO_FATAL_FAILURE(expectPreviousOrLater(now, previous, pool, scratch.path))
        << "after kill " << kills;
    previous = now;
    // Writers killed before their rename leave a temporary file each; the next save clears them.
    const std::size_t left = temporaryNames(folder.path).size();
    ASSERT_LE(left, 1u) << "after kill " << kills;
    midSave += static_cast<int>(left);
  }
  EXPECT_GE(midSave, kMidSaveKills) << "only " << midSave << " of " << kills << " kills landed mid-save";
  RecordProperty("kills", kills);
  RecordProperty("killed_mid_save", midSave);
  expectACompleteRunLeavesNoTemporaryFile(folder);
}

// Two tools replace the same record at once while a reader keeps reading it: neither the reader nor
// the file after the kills ever shows an empty, torn or mixed record.
TEST(CrashSafety, TwoWritersKilledAtRandomMomentsLeaveAWholeRecord) {
  Pool pool;
  ASSERT_NE(pool.process.port, 0);
  test::TempFolder folder{"orelog-crash2"}, scratch{"orelog-crash2-check"};
  writeConnection(folder, pool);
  // One run first, so the file is a whole record a save wrote.
  ASSERT_EQ(test::exitCodeOf(waitFor(startTool(folder.path, {kTool, "update"}))), 0);

  std::atomic<bool> stop{false};
  std::string readerFault;
  int reads = 0;
  // The reader only parses what it reads, in memory, so that it reads often: a whole record is one
  // JSON object that ends with the last member a save writes.
  std::thread reader([&] {
    while (!stop && readerFault.empty()) {
      const std::string bytes = test::readFile(folder.file("config.json"));
      picojson::value value;
      const std::string error = picojson::parse(value, bytes);
      if (!error.empty() || !value.is<picojson::object>() || !value.contains("Version")) {
        readerFault = "read \"" + bytes + "\"";
      }
      ++reads;
    }
  });

  std::mt19937 random(20240502);
  int rounds = 0, midSave = 0;  // the rounds in which a kill left a temporary file
  std::string fault;  // the reader runs on: a fault ends the rounds, the checks come after it stopped
  for (; fault.empty() && midSave < kMidSaveKills && rounds < kMostKills / 2; ++rounds) {
    const ino_t before = inodeOf(folder.file("config.json"));
    const pid_t first = startTool(folder.path, kEndlessUpdate);
    const pid_t second = startTool(folder.path, kEndlessUpdate);
    waitForASave(folder.file("config.json"), before);
    const auto firstDelay = randomDelay(random), secondDelay = randomDelay(random);
    std::this_thread::sleep_for(std::min(firstDelay, secondDelay));
    kill(firstDelay < secondDelay ? first : second, SIGKILL);
    std::this_thread::sleep_for(std::max(firstDelay, secondDelay) - std::min(firstDelay, secondDelay));
    kill(firstDelay < secondDelay ? second : first, SIGKILL);
    waitFor(first);
    waitFor(second);
    const Seen seen = inspect(test::readFile(folder.file("config.json")), scratch.path);
    if (!seen.whole) fault = seen.why + " after round " + std::to_string(rounds);
    if (seen.whole && utf16ToUtf8(seen.record.serverUrl) != pool.url()) fault = "another server";
    const std::size_t left = temporaryNames(folder.path).size();
    if (left > 2) fault = "temporary files pile up";
    midSave += left > 0 ? 1 : 0;
  }
  stop = true;
  reader.join();
  ASSERT_EQ(fault, "");
  EXPECT_EQ(readerFault, "") << "after " << reads << " reads";
  EXPECT_GT(reads, 0);
  EXPECT_GE(midSave, kMidSaveKills) << "only " << midSave << " of " << rounds << " rounds killed a save midway";
  RecordProperty("rounds", rounds);
  RecordProperty("rounds_killed_mid_save", midSave);
  expectACompleteRunLeavesNoTemporaryFile(folder);
}

// history.csv up to its last line end: nothing yet (killed before the first row was whole), or the
// header and whole rows only.
std::string completeHistory(const std::string& bytes, std::string& fault) {
  const std::string complete = bytes.substr(0, bytes.rfind('\n') + 1);
  if (complete.empty()) return complete;
  const auto rows = parseHistory(complete);
  const auto lines = static_cast<std::size_t>(std::count(complete.begin(), complete.end(), '\n'));
  if (!rows || rows->size() + 1 != lines) fault = "not the header and whole rows: \"" + bytes + "\"";
  return complete;
}

// One or two tools killed at random moments of their cycles: the history keeps every whole row it
// had, and at worst a torn last line, which the next append drops.
TEST(CrashSafety, AKilledWriterCostsTheHistoryNoMoreThanTheRowItWasWriting) {
  Pool pool;
  ASSERT_NE(pool.process.port, 0);
  test::TempFolder folder{"orelog-crash-history"};
  writeConnection(folder, pool);
  std::mt19937 random(20240503);
  std::string previous, fault;
  int rounds = 0, tornTails = 0;
  for (const auto start = Clock::now();
       fault.empty() && rounds < kKills / 2 && Clock::now() - start < kKillingTime; ++rounds) {
    const ino_t before = inodeOf(folder.file("config.json"));
    std::vector<pid_t> tools{startTool(folder.path, kEndlessUpdate)};
    if (rounds % 2 == 1) tools.push_back(startTool(folder.path, kEndlessUpdate));
    const bool saved = waitForASave(folder.file("config.json"), before);
    for (const pid_t tool : tools) {
      std::this_thread::sleep_for(randomDelay(random));
      kill(tool, SIGKILL);
    }
    for (const pid_t tool : tools) waitFor(tool);
    ASSERT_TRUE(saved) << "the tool never saved";
    const std::string bytes = test::readFile(folder.file(kHistoryFileName));
    const std::string complete = completeHistory(bytes, fault);
    if (bytes.compare(0, previous.size(), previous) != 0) fault = "whole rows were lost or changed";
    if (!fault.empty()) fault += " after round " + std::to_string(rounds);
    tornTails += complete.size() != bytes.size() ? 1 : 0;
    previous = complete;
  }
  ASSERT_EQ(fault, "");
  RecordProperty("rounds", rounds);
  RecordProperty("torn_tails", tornTails);
  ASSERT_EQ(test::exitCodeOf(waitFor(startTool(folder.path, {kTool, "update"}))), 0);
  const std::string after = test::readFile(folder.file(kHistoryFileName));
  EXPECT_EQ(after.compare(0, previous.size(), previous), 0);
  EXPECT_EQ(parseHistory(after)->size(), parseHistory(previous)->size() + 1);
  EXPECT_EQ(after.substr(after.size() - 2), "\r\n");
}

// A small file system of its own when the test may mount one; nullopt otherwise.
struct SmallFileSystem {
  fs::path mountPoint;
  bool mounted = false;
  explicit SmallFileSystem(const fs::path& at) : mountPoint(at) {
    fs::create_directory(mountPoint);
    mounted = test::runShellCommand("mount -t tmpfs -o size=64k orelog-full " + mountPoint.string() +
                                    " 2>/dev/null") == 0;
  }
  ~SmallFileSystem() {
    if (mounted) test::runShellCommand("umount " + mountPoint.string());
  }
};

// Fills the file system that holds `folder` until it takes no further byte.
void fillUp(const fs::path& folder) {
  std::ofstream filler(folder / "filler", std::ios::binary);
  const std::string block(4096, 'x');
  while (filler.write(block.data(), static_cast<std::streamsize>(block.size()))) filler.flush();
  filler.clear();
  filler.close();
  std::ofstream last(folder / "filler2", std::ios::binary);
  while (last.put('x')) last.flush();
}

// The save fails and the tool goes on: it ends normally after its cycles, the old record whole.
void expectUpdatesOnAFullDiskKeepTheOldRecord(const fs::path& folder, const std::function<void()>& inChild) {
  const std::string before = test::readFile(folder / "config.json");
  const int status = waitFor(startTool(folder, {kTool, "update", "--cycles", "3"}, inChild));
  ASSERT_TRUE(WIFEXITED(status)) << "the tool did not end normally, status " << status;
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(test::readFile(folder / "config.json"), before);
  EXPECT_EQ(temporaryNames(folder), std::vector<std::string>{});
  const std::string history = test::readFile(folder / kHistoryFileName);
  EXPECT_TRUE(history.empty() || history.back() == '\n') << "a failed append is cut back: " << history;
}

TEST(CrashSafety, AFullDiskLeavesTheOldRecordWholeAndTheProgramRunning) {
  Pool pool;
  ASSERT_NE(pool.process.port, 0);
  test::TempFolder outer{"orelog-full"};
  SmallFileSystem disk(outer.path / "disk");
  if (!disk.mounted)
    GTEST_SKIP() << "cannot mount a small file system here; the file-size limit case covers this";
  const fs::path folder = disk.mountPoint;
  {
    std::ofstream(folder / "config.json", std::ios::binary)
        << R"({"Server":")" + pool.url() + R"(","API Key":"demo","Player Name":"full"})";
  }
  ASSERT_EQ(test::exitCodeOf(waitFor(startTool(folder, {kTool, "update"}))), 0);  // a whole record first
  fillUp(folder);
  expectUpdatesOnAFullDiskKeepTheOldRecord(folder, [] {});
}

// A file-size limit below the record's size makes every write of a new record fail half-way, as a
// full disk does. The limit's signal is ignored so that the write reports the failure instead.
TEST(CrashSafety, AFileSizeLimitLeavesTheOldRecordWholeAndTheProgramRunning) {
  Pool pool;
  ASSERT_NE(pool.process.port, 0);
  test::TempFolder folder{"orelog-fsize"};
  writeConnection(folder, pool);
  ASSERT_EQ(test::exitCodeOf(waitFor(startTool(folder.path, {kTool, "update"}))), 0);
  const auto size = fs::file_size(folder.file("config.json"));
  expectUpdatesOnAFullDiskKeepTheOldRecord(folder.path, [size] {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{size / 2, size / 2};
    setrlimit(RLIMIT_FSIZE, &limit);
  });
}

}  // namespace
}  // namespace orelog
