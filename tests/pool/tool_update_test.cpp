// orelog-tool update run as a process in a fresh folder against the demo pool.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <sstream>

#include <picojson.h>

#include "app/shell.h"
#include "profile/history_rows.h"
#include "profile/settings.h"
#include "tests/support/demo_pool_process.h"
#include "tests/support/read_file.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_paths.h"
#include "util/utf.h"

namespace orelog {
namespace {

const std::string kTool = test::binaryPath("orelog-tool");

struct Summary {
  int level = 0, points = 0, hashrate = 0;
  long long experience = 0;
  double payout = 0, balance = 0;
  std::size_t workers = 0;
};

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

std::optional<Summary> readSummary(const std::string& line) {
  Summary s;
  const int fields = std::sscanf(line.c_str(), "level %d experience %lld points %d payout %lf balance %lf hashrate %d workers %zu",
                                 &s.level, &s.experience, &s.points, &s.payout, &s.balance, &s.hashrate, &s.workers);
  return fields == 7 ? std::optional(s) : std::nullopt;
}

picojson::value workerJson(const std::string& name, double hashrate) {
  return picojson::value(picojson::object{{"username", picojson::value(name)}, {"hashrate", picojson::value(hashrate)}});
}

void writeConnection(const test::TempFolder& folder, const std::u16string& url) {
  folder.write("config.json", "{\"Server\":\"" + utf16ToUtf8(url) + "\",\"API Key\":\"demo\"}");
}

TEST(ToolUpdate, FourCyclesTurnANewPlayerIntoProgressThatReloads) {
  test::DemoPoolProcess pool({"--epoch", "1714557600", "--history", "20"});  // long enough for payouts
  test::TempFolder folder;
  writeConnection(folder, pool.url());
  const auto result = test::runProcess(folder.path.string(), {kTool, "update", "--cycles", "4"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.err, "");
  const auto printed = lines(result.out);
  ASSERT_EQ(printed.size(), 4u) << result.out;
  const auto first = readSummary(printed.front());
  const auto last = readSummary(printed.back());
  ASSERT_TRUE(first && last) << result.out;
  EXPECT_EQ(first->experience, 10);
  EXPECT_GT(last->experience, 10);
  EXPECT_GT(last->payout, 0.0);
  EXPECT_GT(last->workers, 0u);

  PlayerRecord reloaded;
  ASSERT_TRUE(loadSettings(reloaded, folder.path / "config.json", 0));
  EXPECT_EQ(reloaded.level, last->level);
  EXPECT_EQ(reloaded.experience, last->experience);
  EXPECT_EQ(reloaded.points, last->points);
  EXPECT_NEAR(reloaded.payout, last->payout, 1e-8);
  EXPECT_EQ(reloaded.serverUrl, pool.url());
}

// Each successful cycle leaves one row in history.csv beside config.json, stamped with the local
// time and its offset, holding the figures the cycle printed.
TEST(ToolUpdate, EachCycleAddsARowToTheHistory) {
  test::DemoPoolProcess pool({"--epoch", "1714557600"});
  test::TempFolder folder;
  writeConnection(folder, pool.url());
  ::setenv("TZ", "JST-9", 1);  // the tool inherits it
  const std::time_t before = std::time(nullptr);
  const auto result = test::runProcess(folder.path.string(), {kTool, "update", "--cycles", "4"});
  const std::time_t after = std::time(nullptr);
  ::unsetenv("TZ");
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::string history = test::readFile(folder.path / kHistoryFileName);
  EXPECT_EQ(history.substr(0, historyHeaderLine().size()), historyHeaderLine());
  const auto rows = parseHistory(history);
  const auto printed = lines(result.out);
  ASSERT_TRUE(rows);
  ASSERT_EQ(rows->size(), printed.size()) << history;
  ASSERT_EQ(rows->size(), 4u);
  for (std::size_t i = 0; i < rows->size(); ++i) {
    const HistoryRow& row = (*rows)[i];
    const auto summary = readSummary(printed[i]);
    ASSERT_TRUE(summary);
    EXPECT_EQ(row.utcOffsetMinutes, 9 * 60);
    EXPECT_GE(row.utcSeconds, before);
    EXPECT_LE(row.utcSeconds, after);
    EXPECT_EQ(row.totalKhs, summary->hashrate);
    EXPECT_NEAR(row.balance, summary->balance, 1e-8);
    EXPECT_NEAR(row.payout, summary->payout, 1e-8);
    EXPECT_EQ(row.workers.size(), summary->workers);
  }
}

TEST(ToolUpdate, FailedCyclePrintsItsMessageAndExitsOne) {
  test::TempFolder folder;
  writeConnection(folder, u"no pool here");
  const auto result = test::runProcess(folder.path.string(), {kTool, "update"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "不明なサーバーアドレスです。\n");
  EXPECT_EQ(result.out, "");
}

TEST(ToolUpdate, EveryFailedCyclePrintsItsMessage) {
  test::TempFolder folder;
  const std::string port = std::to_string(test::closedLoopbackPort());
  writeConnection(folder, u"http://127.0.0.1:" + std::u16string(port.begin(), port.end()) + u"/");
  const auto result = test::runProcess(folder.path.string(), {kTool, "update", "--cycles", "2"});
  EXPECT_EQ(result.exitCode, 1);
  const std::string message =
      "ワーカーの情報取得に失敗しました。\nサーバーに接続できませんでした。\nアドレスとネットワークの接続を確かめてください。\n";
  EXPECT_EQ(result.err, message + message);
  EXPECT_FALSE(std::filesystem::exists(folder.path / kHistoryFileName)) << "failed cycles leave no history";
}

// Worker p.b reports 0 in the second and third workers answers and runs again in the fourth.
TEST(ToolUpdate, PrintsEachNoticeBeforeItsCyclesSummary) {
  test::TempFolder folder;
  const auto data = folder.write("pool.json", R"({"workers":[{"username":"p.a","hashrate":40},{"username":"p.b","hashrate":20}],
    "balance":{"confirmed":1,"unconfirmed":0},"transactions":[]})");
  test::DemoPoolProcess pool({"--data", data.string(), "--stop", "p.b@2-3"});
  writeConnection(folder, pool.url());
  const auto result = test::runProcess(folder.path.string(), {kTool, "update", "--cycles", "4"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const auto printed = lines(result.out);
  ASSERT_EQ(printed.size(), 6u) << result.out;
  const std::vector<std::string> notices = {printed[1], printed[4]};
  EXPECT_EQ(notices, (std::vector<std::string>{"notice: ワーカー「b」が止まりました。",
                                               "notice: ワーカー「b」が動き出しました。"}));
  for (const std::size_t summary : {0, 2, 3, 5}) EXPECT_TRUE(readSummary(printed[summary])) << printed[summary];
  EXPECT_EQ(readSummary(printed[2])->hashrate, 40);
}

// Worker names as a hostile pool sends them: a line break before a forged notice, terminal escapes,
// a carriage return, a right-to-left override, invalid UTF-8, 64 kB. They stop in the second answer
// and run again in the third; every line printed is the tool's own, whole and clean (the longest
// name as the pool's name cut with "…", never an empty entry), and history.csv holds the names
// cleaned.
TEST(ToolUpdate, HostileWorkerNamesForgeNoLineAndReachTheTerminalClean) {
  test::TempFolder folder;
  const std::vector<std::string> stopping = {"p.evil\nnotice: ワーカー「fake」が動き出しました。",
                                             "p.esc\x1B[2J\x1B]0;title\x07", "p.cr\rnotice: over",
                                             "p.\u202Egnp.exe", "p.bad\xFF\xFE"};
  const std::string longest = "p." + std::string(64 * 1024, 'w');
  picojson::array workers;
  std::vector<std::string> args = {"--data", (folder.path / "pool.json").string(), "--stop", longest + "@2-2"};
  for (const std::string& name : stopping) args.insert(args.end(), {"--stop", name + "@2-2"});
  for (const std::string& name : stopping) workers.push_back(workerJson(name, 20));
  workers.push_back(workerJson(longest, 40));
  folder.write("pool.json", R"({"workers":)" + picojson::value(workers).serialize() +
                                R"(,"balance":{"confirmed":1,"unconfirmed":0},"transactions":[]})");
  test::DemoPoolProcess pool(args);
  writeConnection(folder, pool.url());
  const auto result = test::runProcess(folder.path.string(), {kTool, "update", "--cycles", "3"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const auto printed = lines(result.out);
  ASSERT_EQ(printed.size(), 5u) << result.out;
  const std::string names = "bad\uFFFD\uFFFD、cr\uFFFDnotice: over、esc\uFFFD[2J\uFFFD]0;title\uFFFD、"
                            "evil\uFFFDnotice: ワーカー「fake」が動き出しました。、gnp.exe、" +
                            longest.substr(0, 62) + "…";
  EXPECT_EQ(printed[1], "notice: ワーカー「" + names + "」が止まりました。");
  EXPECT_EQ(printed[3], "notice: ワーカー「" + names + "」が動き出しました。");
  for (const std::string& line : printed) {
    EXPECT_TRUE(readSummary(line) || (line.starts_with("notice: ワーカー「") && !line.starts_with("notice: ワーカー「fake")))
        << line;
    EXPECT_EQ(utf16ToUtf8(utf8ToUtf16(line)), line) << "invalid UTF-8 in " << line;
    EXPECT_TRUE(std::none_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }))
        << line;
  }
  const auto rows = parseHistory(test::readFile(folder.path / kHistoryFileName));
  ASSERT_TRUE(rows && rows->size() == 3u);
  std::vector<std::string> written;
  for (const auto& [name, khs] : rows->front().workers) written.push_back(name);
  EXPECT_EQ(written, (std::vector<std::string>{"p.bad\uFFFD\uFFFD", "p.cr\uFFFDnotice: over",
                                               "p.esc\uFFFD[2J\uFFFD]0;title\uFFFD",
                                               "p.evil\uFFFDnotice: ワーカー「fake」が動き出しました。", "p.gnp.exe", longest}));
}

// A record left owner-only by another user (a first run under sudo) cannot be read: the tool says
// so with its cause, runs on the defaults and leaves the file as it was.
TEST(ToolUpdate, AnUnreadableRecordIsSaidOnceAndLeftByteForByte) {
  test::TempFolder folder;
  const std::string record = R"({"API Key":"demo","Level":37,"Server":"http:\/\/127.0.0.1:1\/"})";
  const auto file = folder.write("config.json", record);
  std::vector<std::string> argv = {kTool, "update", "--cycles", "2"};
  if (::geteuid() == 0) {  // permissions do not stop root: run the tool as another user
    std::filesystem::permissions(folder.path, std::filesystem::perms(0755));
    std::filesystem::permissions(file, std::filesystem::perms(0600));
    argv.insert(argv.begin(), {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"});
  } else {
    std::filesystem::permissions(file, std::filesystem::perms::none);
  }
  const auto result = test::runProcess(folder.path.string(), argv);
  std::filesystem::permissions(file, std::filesystem::perms(0600));
  EXPECT_EQ(result.exitCode, 1);
  const std::string unknown = "不明なサーバーアドレスです。\n";
  EXPECT_EQ(result.err, utf16ToUtf8(kMessageRecordUnreadable) + "\n" + unknown + unknown);
  EXPECT_EQ(test::readFile(file), record);
  for (const auto& entry : std::filesystem::directory_iterator(folder.path)) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "config.json" || name == ".stdout" || name == ".stderr") << name << " was added";
  }
}

TEST(ToolUpdate, UsageErrorsExitTwo) {
  test::TempFolder folder;
  const std::vector<std::vector<std::string>> usages = {
      {"--cycles", "0"}, {"--cycles", "-1"}, {"--cycles", "x"}, {"--cycles", "2x"}, {"--cycles"},
      {"--bogus"}, {"--cycles", "2", "extra"}, {"--cycles", "99999999999"}};
  for (const auto& usage : usages) {
    std::vector<std::string> argv{kTool, "update"};
    argv.insert(argv.end(), usage.begin(), usage.end());
    const auto result = test::runProcess(folder.path.string(), argv);
    EXPECT_EQ(result.exitCode, 2) << usage[0];
    EXPECT_EQ(result.out, "");
  }
  EXPECT_FALSE(std::filesystem::exists(folder.path / "config.json")) << "a usage error touches nothing";
}

}  // namespace
}  // namespace orelog
