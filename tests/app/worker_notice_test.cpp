// The desktop notices of stopped and restarted workers, fed by the update cycles of one run.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/update_cycle.h"
#include "services/null_platform.h"
#include "tests/support/read_file.h"
#include "tests/support/temp_folder.h"
#include "util/utf.h"

namespace orelog {
namespace {

using Workers = std::map<std::string, double>;
using Notices = std::vector<std::u16string>;

struct NoticePlatform : NullPlatform {
  std::vector<std::u16string> titles;
  Notices notices;
  void showNotice(std::u16string_view title, std::u16string_view text) override {
    titles.emplace_back(title);
    notices.emplace_back(text);
  }
};

// One update of the run: the workers the pool listed, whether a later step failed, what is told.
struct Update {
  Workers workers;
  bool failed = false;
  Notices told;
};

struct WatchCase {
  const char* name;
  // The case by its name, so a test's listed name holds no object bytes.
  friend void PrintTo(const WatchCase& c, std::ostream* os) { *os << c.name; }
  std::vector<Update> updates;
};

Update good(Workers workers, Notices told = {}) { return {std::move(workers), false, std::move(told)}; }
Update failed(Workers workers) { return {std::move(workers), true, {}}; }

std::u16string stopped(std::u16string names) { return u"ワーカー「" + names + u"」が止まりました。"; }
std::u16string running(std::u16string names) { return u"ワーカー「" + names + u"」が動き出しました。"; }

// Nine workers a.w1 ... a.w9, all at rate, with changes.
Workers nine(int32_t rate, Workers changes = {}) {
  Workers workers;
  for (int i = 1; i <= 9; ++i) workers["a.w" + std::to_string(i)] = rate;
  for (const auto& [name, value] : changes) workers[name] = value;
  return workers;
}

Workers without(Workers workers, const std::vector<std::string>& names) {
  for (const auto& name : names) workers.erase(name);
  return workers;
}

FetchedFigures fetched(const Update& update) {
  FetchedFigures figures;
  figures.figures.workers = update.workers;
  if (update.failed) figures.failure = u"残高の情報取得に失敗しました。";
  return figures;
}

class WorkerNotices : public ::testing::TestWithParam<WatchCase> {};

TEST_P(WorkerNotices, AreToldAfterSuccessfulUpdatesOnly) {
  test::TempFolder folder("orelog-notice");
  NoticePlatform platform;
  PlayerRecord record;
  WorkerWatch watch;
  const auto& updates = GetParam().updates;
  for (std::size_t i = 0; i < updates.size(); ++i) {
    platform.notices.clear();
    const bool succeeded =
        finishUpdateCycle(record, platform, fetched(updates[i]), folder.file("config.json"), &watch);
    EXPECT_EQ(succeeded, !updates[i].failed);
    EXPECT_EQ(platform.notices, updates[i].told) << "update " << i + 1;
  }
  for (const auto& title : platform.titles) EXPECT_EQ(title, u"ホリダスα");
}

const WatchCase kCases[] = {
    {"NothingAtTheFirstUpdate", {good({{"a.r1", 0}, {"a.r2", 5}})}},
    {"RunningToZeroStops", {good({{"a.r1", 5}}), good({{"a.r1", 0}}, {stopped(u"r1")})}},
    {"BelowZeroStops", {good({{"a.r1", 5}}), good({{"a.r1", -3}}, {stopped(u"r1")})}},
    {"AStopIsToldOnce", {good({{"a.r1", 5}}), good({{"a.r1", 0}}, {stopped(u"r1")}), good({{"a.r1", 0}})}},
    {"AStoppedOneRunsAgain",
     {good({{"a.r1", 5}}), good({{"a.r1", 0}}, {stopped(u"r1")}), good({{"a.r1", 0}}),
      good({{"a.r1", 7}}, {running(u"r1")}), good({{"a.r1", 8}})}},
    {"IdleSinceTheFirstUpdateStartingIsNotAReturn", {good({{"a.r1", 0}}), good({{"a.r1", 5}})}},
    {"AVanishedWorkerStopsAndComesBack",
     {good({{"a.r1", 5}, {"a.r2", 5}}), good({{"a.r2", 5}}, {stopped(u"r1")}), good({{"a.r2", 5}}),
      good({{"a.r1", 4}, {"a.r2", 5}}, {running(u"r1")})}},
    {"AnIdleWorkerVanishingIsNoStop", {good({{"a.r1", 0}, {"a.r2", 5}}), good({{"a.r2", 5}})}},
    {"AllVanishAndComeBack",
     {good({{"a.r1", 5}, {"a.r2", 6}}), good({}, {stopped(u"r1、r2")}), good({{"a.r1", 5}, {"a.r2", 6}}, {running(u"r1、r2")})}},
    {"ANewWorkerIsNoNotice", {good({{"a.r1", 5}}), good({{"a.r1", 5}, {"a.r0", 5}}), good({{"a.r0", 0}, {"a.r1", 5}}, {stopped(u"r0")})}},
    {"ANewIdleWorkerIsNoNotice", {good({{"a.r1", 5}}), good({{"a.r1", 5}, {"a.r2", 0}})}},
    {"ARenamedWorkerIsTheOldOneStoppingOnly",
     {good({{"a.rig1", 5}}), good({{"a.rig9", 5}}, {stopped(u"rig1")}), good({{"a.rig9", 5}})}},
    {"StopsAndReturnsInOneUpdateAreTwoNotices",
     {good({{"a.r1", 5}, {"a.r2", 5}}), good({{"a.r1", 0}, {"a.r2", 5}}, {stopped(u"r1")}),
      good({{"a.r1", 5}, {"a.r2", 0}}, {stopped(u"r2"), running(u"r1")})}},
    {"NamesInTheCharactersOrder",
     {good({{"a.x", 1}, {"a.y", 1}, {"a.z", 1}}), good({{"a.z", 0}, {"a.y", 1}, {"a.x", 0}}, {stopped(u"x、z")})}},
    {"NamesAsTheCharactersShowThem",
     {good({{"bob", 3}, {"a.b.c", 3}, {"山田.掘る", 3}, {"alice.", 3}}),
      good({{"bob", 0}, {"a.b.c", 0}, {"山田.掘る", 0}, {"alice.", 0}}, {stopped(u"b.c、alice.、bob、掘る")})}},
    // A name of 64 units or more is the pool's name cut with "…", never an empty entry.
    {"ALongNameIsCutNotLeftOut",
     {good({{"a.r1", 5}, {std::string(70, 'w'), 5}}),
      good({{"a.r1", 0}, {std::string(70, 'w'), 0}}, {stopped(u"r1、" + std::u16string(62, u'w') + u"…")})}},
    // A CPU coin's workers below 1 KH/s are mining; an ASIC's 95 TH/s is past 32 bits.
    {"AWorkerBelowOneKilohashRunsAndStops",
     {good({{"k.cpu", 0.49}, {"k.asic", 95e9}}), good({{"k.cpu", 0}, {"k.asic", 0}}, {stopped(u"asic、cpu")}),
      good({{"k.cpu", 0.24}, {"k.asic", 95e9}}, {running(u"asic、cpu")})}},
    {"AFailedUpdateBetweenIsNotCompared",
     {good({{"a.r1", 5}}), failed({{"a.r1", 0}}), good({{"a.r1", 5}})}},
    {"AFailedUpdateKeepsTheLastGoodOneToCompare",
     {good({{"a.r1", 5}}), failed({}), good({{"a.r1", 0}}, {stopped(u"r1")})}},
    {"AFailedFirstUpdateLeavesTheFirstGoodOneSilent", {failed({{"a.r1", 5}}), good({{"a.r1", 0}})}},
    {"OnlyTheEightCharactersAreWatched",
     {good(nine(5)), good(nine(5, {{"a.w9", 0}})), good(nine(0), {stopped(u"w1、w2、w3、w4、w5、w6、w7、w8")})}},
    {"AWorkerPushedPastTheEighthIsNoStop",
     {good(nine(5)), good(nine(5, {{"a.w0", 5}})), good(nine(5, {{"a.w0", 5}, {"a.w8", 0}}))}},
    // a.z stops, eight new names push it past the eighth character, and it starts out of sight;
    // when a.w8 leaves, a.z has a character again but its stop is forgotten.
    {"AStoppedWorkerOutOfSightIsForgotten",
     {good({{"a.z", 5}}), good({{"a.z", 0}}, {stopped(u"z")}), good(nine(5, {{"a.w9", -1}, {"a.z", 0}})),
      good(nine(5, {{"a.w9", -1}, {"a.z", 5}})), good(without(nine(5, {{"a.z", 5}}), {"a.w8", "a.w9"}), {stopped(u"w8")})}},
};

INSTANTIATE_TEST_SUITE_P(Runs, WorkerNotices, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The watch lives in the run, never in the record: config.json is the same byte for byte.
TEST(WorkerNoticeRecord, LeavesConfigJsonAsItIsWithoutNotices) {
  test::TempFolder folder("orelog-notice");
  const std::vector<Update> updates = {good({{"a.r1", 5}}), good({{"a.r1", 0}}), good({{"a.r1", 5}})};
  std::string written[2];
  for (int watched = 0; watched < 2; ++watched) {
    NoticePlatform platform;
    PlayerRecord record;
    WorkerWatch watch;
    const auto file = folder.file("config" + std::to_string(watched) + ".json");
    for (const auto& update : updates) finishUpdateCycle(record, platform, fetched(update), file, watched ? &watch : nullptr);
    EXPECT_EQ(platform.notices.size(), watched ? 2u : 0u);
    written[watched] = test::readFile(file);
  }
  EXPECT_FALSE(written[0].empty());
  EXPECT_EQ(written[0], written[1]);
}

}  // namespace
}  // namespace orelog
