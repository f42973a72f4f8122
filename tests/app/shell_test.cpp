// The shell's start-up order, connect command, timers, mouse gate and end, through a recording platform.
#include "app/shell.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "profile/history_rows.h"
#include "profile/settings.h"
#include "tests/support/recording_platform.h"
#include "tests/support/demo_pool_process.h"
#include "tests/support/read_file.h"
#include "tests/support/temp_folder.h"
#include "ui/palette.h"
#include "ui/sheet_decoding.h"

namespace orelog {
namespace {

using test::DemoPoolProcess;
using test::readFile;
using test::RecordingPlatform;
using test::TempFolder;

SheetLoader tinySheets() {
  return [] { return std::optional<SpriteSheets>(SpriteSheets{{1, 1, {rgb(255, 255, 255)}}, {1, 1, {0}}}); };
}

// The calls in `order` were made, in that order, whatever else came between them.
::testing::AssertionResult madeInOrder(const std::vector<std::string>& calls, const std::vector<std::string>& order) {
  auto at = calls.begin();
  for (const std::string& call : order) {
    at = std::find(at, calls.end(), call);
    if (at == calls.end()) return ::testing::AssertionFailure() << "no \"" << call << "\" in its place";
    ++at;
  }
  return ::testing::AssertionSuccess();
}

std::u16string deadPoolUrl() {
  const std::string text = "http://127.0.0.1:" + std::to_string(test::closedLoopbackPort()) + "/index.php";
  return {text.begin(), text.end()};
}

class ShellTest : public ::testing::Test {
 protected:
  TempFolder folder;
  std::unique_ptr<AppState> app = std::make_unique<AppState>();
  RecordingPlatform platform;

  void SetUp() override { app->settingsFile = folder.path / kSettingsFileName; }

  // Start-up with a player who already has a name, so no dialog interferes, and a clean call log.
  void startNamed() {
    app->record.playerName = u"Tama";
    ASSERT_TRUE(saveSettings(app->record, app->settingsFile));
    ASSERT_TRUE(startUp(*app, platform, tinySheets()));
    platform.calls.clear();
  }
  void typeFields(const std::u16string& pool, const std::u16string& key) {
    platform.poolField = pool;
    platform.keyField = key;
  }
  // The connect command, and the end of the cycle it started once the pool has answered.
  void connectAndWait() {
    connectCommand(*app, platform);
    if (app->cycleInProgress) platform.runNextPosted();
  }
  // An update timer firing, and the end of its cycle.
  void updateAndWait() {
    timerEvent(*app, platform, kUpdateTimerId);
    if (app->cycleInProgress) platform.runNextPosted();
  }
  // The game screen as a successful connect leaves it, without asking a pool.
  void enterGameScreen(const std::u16string& url) {
    app->record.serverUrl = url;
    app->record.apiKey = u"demo";
    app->mode = ScreenMode::Game;
  }
};

// --- Start-up -------------------------------------------------------------------------------------

TEST_F(ShellTest, StartUpRunsItsStepsInOrderAndAsksANamelessPlayerForAName) {
  platform.nameAnswer = u"ミケ";
  ASSERT_TRUE(startUp(*app, platform, tinySheets()));
  EXPECT_EQ(platform.calls, (std::vector<std::string>{"lock", "size:520x62", "fill", "show", "name"}));
  EXPECT_EQ(app->mode, ScreenMode::Connect);
  EXPECT_EQ(app->record.playerName, u"ミケ");
  EXPECT_FALSE(std::filesystem::exists(app->settingsFile)) << "the name waits for the next save point";
}

TEST_F(ShellTest, NameDialogStaysClosedForAPlayerWithAName) {
  app->record.playerName = u"Tama";
  ASSERT_TRUE(saveSettings(app->record, app->settingsFile));
  app->record.playerName.clear();
  ASSERT_TRUE(startUp(*app, platform, tinySheets()));
  EXPECT_EQ(std::count(platform.calls.begin(), platform.calls.end(), "name"), 0);
  EXPECT_EQ(app->record.playerName, u"Tama");
}

TEST_F(ShellTest, NameDialogAnswersAreKeptWithinTheFieldsCapacity) {
  struct Case {
    std::optional<std::u16string> answer;
    std::u16string kept;
  };
  const std::u16string sixtyTwo(62, u'a');
  const Case cases[] = {
      {std::nullopt, u""},                                   // cancelled: asked again next time
      {u"", u""},                                            // accepted empty
      {std::u16string(63, u'b'), std::u16string(63, u'b')},  // the most the field holds
      {std::u16string(80, u'c'), std::u16string(63, u'c')},
      {sixtyTwo + u"\U0001F431", sixtyTwo},  // a pair at the limit is not split
  };
  for (const Case& c : cases) {
    auto fresh = std::make_unique<AppState>();
    fresh->settingsFile = app->settingsFile;
    RecordingPlatform each;
    each.nameAnswer = c.answer;
    ASSERT_TRUE(startUp(*fresh, each, tinySheets()));
    EXPECT_EQ(fresh->record.playerName, c.kept)
        << "answer of " << (c.answer ? c.answer->size() : 0) << " units";
  }
}

TEST_F(ShellTest, SecondCopyEndsAtOnceAndLeavesTheSettingsFileAlone) {
  const std::string saved = R"({"serverUrl":"keep me"})";
  const auto file = folder.write(kSettingsFileName, saved);
  const auto stamp = std::filesystem::last_write_time(file);
  platform.otherCopyHoldsLock = true;

  EXPECT_FALSE(startUp(*app, platform, tinySheets()));
  EXPECT_EQ(platform.calls, (std::vector<std::string>{"lock", "message:既に起動しています。", "raise"}));
  EXPECT_EQ(platform.owners, (std::vector<MessageOwner>{MessageOwner::None}));
  EXPECT_EQ(readFile(file), saved);
  EXPECT_EQ(std::filesystem::last_write_time(file), stamp);
}

TEST_F(ShellTest, UnreadableSheetsEndStartUpWithTheirMessage) {
  EXPECT_FALSE(startUp(*app, platform, [] { return std::optional<SpriteSheets>(); }));
  EXPECT_EQ(platform.calls,
            (std::vector<std::string>{"lock", "message:画像データの読み込みに失敗しました。", "unlock"}));
}

TEST_F(ShellTest, WindowIsPlacedWhereTheGameScreenWillBeCentred) {
  struct Case {
    int screenW, screenH, outerW, outerH, x, y;
  };
  const Case cases[] = {
      {1920, 1080, 520, 62, 700, 390},  // (1080 - 62 - 238) / 2
      {1024, 768, 526, 91, 249, 219},   // a frame around the client area
      {400, 200, 520, 62, -60, -50},    // a screen smaller than the window: divisions truncate toward zero
  };
  for (const Case& c : cases) {
    const WindowPlacement placed = initialPlacement(c.screenW, c.screenH, c.outerW, c.outerH);
    EXPECT_EQ(placed.x, c.x) << c.screenW << "x" << c.screenH;
    EXPECT_EQ(placed.y, c.y) << c.screenW << "x" << c.screenH;
  }
  // At 2x the game screen grows by twice as many device pixels: (1600 - 130 - 476) / 2.
  const WindowPlacement doubled = initialPlacement(2560, 1600, 1046, 130, 2);
  EXPECT_EQ(doubled.x, 757);
  EXPECT_EQ(doubled.y, 497);
}

TEST(CanvasScale, LargestWholeMultipleWhoseGameWindowFitsTheWorkArea) {
  struct Case {
    int dpi, workW, workH, frameW, frameH, scale;
  };
  const Case cases[] = {
      {96, 1920, 1080, 6, 29, 1},  {120, 1920, 1080, 6, 29, 1},  // 125 %: no whole multiple above 1
      {144, 1920, 1080, 6, 29, 1}, {192, 1920, 1040, 6, 29, 2},  // 200 %
      {288, 3840, 2160, 6, 29, 3}, {192, 1024, 768, 6, 29, 1},   // 1046 wide on a 1024-wide screen
      {288, 1200, 1000, 6, 29, 2}, {288, 1566, 900, 6, 29, 2},   // the width fits 3x, the height only 2x
      {192, 1046, 629, 6, 29, 2},  {192, 1045, 629, 6, 29, 1},   // exactly fitting; one pixel short
      {192, 1046, 628, 6, 29, 1},  {0, 800, 600, 6, 29, 1},      // no dpi reported
      {192, 300, 200, 6, 29, 1},                                 // nothing fits: still one
  };
  for (const Case& c : cases) {
    EXPECT_EQ(canvasScale(c.dpi, c.workW, c.workH, c.frameW, c.frameH), c.scale)
        << c.dpi << " dpi on " << c.workW << "x" << c.workH;
  }
}

// --- Connect command ------------------------------------------------------------------------------

TEST_F(ShellTest, SuccessfulConnectSwitchesToTheGameScreenForGood) {
  DemoPoolProcess pool;
  ASSERT_NE(pool.port, 0);
  startNamed();
  typeFields(pool.url(), u"demo");

  connectCommand(*app, platform);
  EXPECT_EQ(platform.calls, (std::vector<std::string>{"disable", "busy"})) << "the pool is asked off this thread";
  EXPECT_EQ(app->mode, ScreenMode::Connect);
  platform.runNextPosted();

  // The busy cursor lasts until the answer; the controls go before the window grows to the game
  // screen, and the timers start on the game screen.
  EXPECT_TRUE(madeInOrder(platform.calls, {"disable", "busy", "idle", "timers"}));
  EXPECT_TRUE(madeInOrder(platform.calls, {"hide", "size:520x300", "timers"}));
  EXPECT_EQ(platform.calls.back(), "timers");
  EXPECT_EQ(platform.updateIntervalMs, kUpdateIntervalMs);
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(app->mode, ScreenMode::Game);
  EXPECT_EQ(app->record.serverUrl, pool.url());
  EXPECT_EQ(app->record.apiKey, u"demo");
  EXPECT_EQ(app->screen.slots.size(), std::min<std::size_t>(app->record.workers.size(), kMaxCharacterSlots));
  EXPECT_FALSE(app->screen.slots.empty()) << "the demo pool has workers";
  EXPECT_NE(readFile(app->settingsFile).find("127.0.0.1"), std::string::npos);

  platform.calls.clear();
  connectCommand(*app, platform);
  EXPECT_TRUE(platform.calls.empty()) << "there is no way back to the connect screen";
}

// The game's cycles, the connect's and the timer's, each leave a row in history.csv beside the record;
// a failed one leaves none.
TEST_F(ShellTest, EverySuccessfulCycleAddsAHistoryRow) {
  DemoPoolProcess pool;
  ASSERT_NE(pool.port, 0);
  startNamed();
  typeFields(pool.url(), u"demo");
  connectAndWait();
  updateAndWait();
  const auto rows = parseHistory(readFile(folder.path / kHistoryFileName));
  ASSERT_TRUE(rows);
  ASSERT_EQ(rows->size(), 2u);
  EXPECT_EQ(rows->back().totalKhs, app->record.totalHashrate);
  EXPECT_EQ(rows->back().workers.size(), app->record.workers.size());

  DemoPoolProcess failing({"--fault", "html404@getuserbalance"});
  enterGameScreen(failing.url());
  updateAndWait();
  EXPECT_EQ(parseHistory(readFile(folder.path / kHistoryFileName))->size(), 2u);
}

TEST_F(ShellTest, FailedFirstCycleLeavesAUsableConnectScreenEveryTime) {
  struct Case {
    std::u16string url;
    std::u16string_view message;
  };
  const Case cases[] = {
      {deadPoolUrl(), u"ワーカーの情報取得に失敗しました。\nサーバーに接続できませんでした。\n"
                      u"アドレスとネットワークの接続を確かめてください。"},
      {u"not a url", u"不明なサーバーアドレスです。"},
  };
  startNamed();
  for (const Case& c : cases) {
    platform.calls.clear();
    platform.messages.clear();
    typeFields(c.url, u"demo");
    connectAndWait();  // twice: every failure ends with the controls enabled
    connectAndWait();
    EXPECT_EQ(platform.messages, (std::vector<std::u16string>(2, std::u16string(c.message))));
    EXPECT_EQ(platform.calls.back(), "enable");
    EXPECT_TRUE(platform.controlsEnabled);
    EXPECT_TRUE(platform.controlsVisible);
    EXPECT_FALSE(platform.timersRunning);
    EXPECT_EQ(platform.clientHeight, kConnectClientHeight) << "the window keeps its connect-screen size";
    EXPECT_EQ(app->mode, ScreenMode::Connect);
  }
}

TEST_F(ShellTest, TooLongFieldStopsTheConnectBeforeAnythingIsSavedOrFetched) {
  struct Case {
    std::u16string pool, key;
    std::u16string_view message;
    std::u16string serverUrl;  // a too-long key comes after the pool has been stored
  };
  const Case cases[] = {
      {std::u16string(256, u'h'), u"demo", u"サーバーアドレスが長すぎます。", u""},
      {u"http://127.0.0.1/", std::u16string(256, u'k'), u"APIキーが長すぎます。", u"http://127.0.0.1/"},
  };
  startNamed();
  const std::string before = readFile(app->settingsFile);
  for (const Case& c : cases) {
    platform.calls.clear();
    platform.messages.clear();
    typeFields(c.pool, c.key);
    connectCommand(*app, platform);
    EXPECT_EQ(platform.calls,
              (std::vector<std::string>{"disable", "message:" + utf16ToUtf8(c.message), "enable"}));
    EXPECT_EQ(platform.owners.back(), MessageOwner::None);
    EXPECT_EQ(platform.fetches, 0);
    EXPECT_EQ(app->record.serverUrl, c.serverUrl);
    EXPECT_TRUE(app->record.apiKey.empty());
    EXPECT_EQ(readFile(app->settingsFile), before);
  }
}

TEST_F(ShellTest, FailedSaveIsReportedAndTheConnectGoesOn) {
  DemoPoolProcess pool;
  ASSERT_NE(pool.port, 0);
  startNamed();
  app->settingsFile = folder.path / "no such folder" / kSettingsFileName;
  typeFields(pool.url(), u"demo");

  connectAndWait();

  // The failed save is said before the pool is asked; the connect then ends as a successful one does.
  EXPECT_TRUE(madeInOrder(platform.calls, {"message:設定の保存に失敗しました。", "busy", "idle"}));
  EXPECT_TRUE(madeInOrder(platform.calls, {"hide", "size:520x300", "timers"}));
  EXPECT_EQ(platform.owners, (std::vector<MessageOwner>{MessageOwner::MainWindow}));
  EXPECT_EQ(platform.fetches, 3);
  EXPECT_EQ(app->mode, ScreenMode::Game);
}

// --- Timers -----------------------------------------------------------------------------------------

TEST_F(ShellTest, TimersDoNothingOnTheConnectScreen) {
  startNamed();
  app->record.serverUrl = deadPoolUrl();
  timerEvent(*app, platform, kAnimationTimerId);
  timerEvent(*app, platform, kUpdateTimerId);
  EXPECT_TRUE(platform.calls.empty());
  EXPECT_EQ(platform.fetches, 0);
  EXPECT_EQ(app->screen.frame, 0u);
}

TEST_F(ShellTest, AnimationTimerTicksAndRepaintsOnTheGameScreen) {
  startNamed();
  enterGameScreen(deadPoolUrl());
  platform.tickCountValue = app->record.lastTick + 83;
  timerEvent(*app, platform, kAnimationTimerId);
  timerEvent(*app, platform, 7);  // no such timer
  EXPECT_EQ(app->screen.frame, 1u);
  EXPECT_EQ(app->record.playTimeMs, 83);
  EXPECT_EQ(platform.calls, (std::vector<std::string>{"repaint"}));
}

TEST_F(ShellTest, AnAnimationTickThatChangesNothingDoesNotRepaint) {
  startNamed();
  enterGameScreen(deadPoolUrl());
  app->record.workers = {{"m.idle", 0}};  // a worker standing still
  rebuildCharacterSlots(app->screen.slots, app->record);
  platform.tickCountValue = app->record.lastTick + 83;
  timerEvent(*app, platform, kAnimationTimerId);  // the first tick shows the page
  platform.calls.clear();
  platform.tickCountValue += 83;
  timerEvent(*app, platform, kAnimationTimerId);  // nothing moves
  EXPECT_EQ(app->screen.frame, 2u) << "the clock still runs";
  EXPECT_TRUE(platform.calls.empty());
  app->screen.hoveredCharacter = 0;  // as a mouse move leaves it, for the next tick to show
  timerEvent(*app, platform, kAnimationTimerId);
  EXPECT_EQ(platform.calls, (std::vector<std::string>{"repaint"}));
}

// The player box sums every worker's figure, those past the eighth character too: a change there
// alone, below 1 KH/s where experience's whole KH/s stay 0, is shown at the next tick.
TEST_F(ShellTest, AChangeOnlyInThePlayerBoxsTotalRepaints) {
  startNamed();
  enterGameScreen(deadPoolUrl());
  for (const char* name : {"m.a", "m.b", "m.c", "m.d", "m.e", "m.f", "m.g", "m.h"}) app->record.workers[name] = 0;
  app->record.workers["m.z"] = 0.24;  // without a character
  rebuildCharacterSlots(app->screen.slots, app->record);
  platform.tickCountValue = app->record.lastTick + 83;
  timerEvent(*app, platform, kAnimationTimerId);  // the first tick shows the page
  platform.calls.clear();
  app->record.workers["m.z"] = 0.49;
  platform.tickCountValue += 83;
  timerEvent(*app, platform, kAnimationTimerId);
  EXPECT_EQ(app->record.totalHashrate, 0);
  EXPECT_EQ(platform.calls, (std::vector<std::string>{"repaint"}));
}

TEST_F(ShellTest, UpdateTimerRebuildsTheCharactersWhateverTheCycleGives) {
  DemoPoolProcess pool({"--fault", "html404@getuserbalance"});
  ASSERT_NE(pool.port, 0);
  startNamed();
  enterGameScreen(pool.url());
  ASSERT_TRUE(app->screen.slots.empty());

  updateAndWait();

  EXPECT_EQ(platform.messages,
            (std::vector<std::u16string>{u"残高の情報取得に失敗しました。\nプールがHTTPステータス404を返しました。\n"
                                         u"アドレスはプールのAPIのスクリプト（ふつうはindex.php）で終わります。"}));
  EXPECT_FALSE(app->screen.slots.empty()) << "the workers fetched before the failure are shown";
  EXPECT_EQ(app->screen.slots.size(), std::min<std::size_t>(app->record.workers.size(), kMaxCharacterSlots));
}

TEST_F(ShellTest, UpdateTimerSkipsACycleWhileAnotherWaitsOnItsMessage) {
  startNamed();
  enterGameScreen(deadPoolUrl());
  int nestedFetches = -1;
  platform.whileMessageOpen = [&] {
    platform.whileMessageOpen = nullptr;
    const int before = platform.fetches;
    timerEvent(*app, platform, kUpdateTimerId);     // skipped, not queued
    timerEvent(*app, platform, kAnimationTimerId);  // the animation goes on
    nestedFetches = platform.fetches - before;
  };

  updateAndWait();
  EXPECT_EQ(nestedFetches, 0);
  EXPECT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(app->screen.frame, 1u);

  updateAndWait();
  EXPECT_EQ(platform.messages.size(), 2u) << "the next firing runs a cycle again";
}

// A pool that takes the request and never answers: only a cancel ends the wait.
struct StalledPool {
  DemoPoolProcess pool{{"--fault", "stall"}};
  HttpTimeouts patient{3600000, 3600000, 3600000, 3600000};
};

TEST_F(ShellTest, WhileTheFirstCycleWaitsTheWindowGoesOnAndClosingAbandonsTheRequest) {
  StalledPool stalled;
  ASSERT_NE(stalled.pool.port, 0);
  platform.timeouts = stalled.patient;
  startNamed();
  typeFields(stalled.pool.url(), u"demo");

  connectCommand(*app, platform);  // returns while the pool is still being asked
  EXPECT_FALSE(platform.controlsEnabled);
  EXPECT_EQ(platform.calls.back(), "busy");
  connectCommand(*app, platform);  // a second press while waiting changes nothing
  aboutCommand(platform);
  EXPECT_EQ(platform.calls, (std::vector<std::string>{"disable", "busy", "about"}));

  shutDown(*app, platform);  // ends at once: the request is broken off, not waited for
  EXPECT_TRUE(platform.nothingPosted()) << "an abandoned cycle delivers nothing";
  EXPECT_EQ(app->mode, ScreenMode::Connect);
  EXPECT_NE(readFile(app->settingsFile).find("127.0.0.1"), std::string::npos) << "progress is saved";
  EXPECT_FALSE(platform.lockHeld);
}

TEST_F(ShellTest, UpdateTimerSkipsACycleWhileAnotherWaitsForThePool) {
  StalledPool stalled;
  ASSERT_NE(stalled.pool.port, 0);
  platform.timeouts = stalled.patient;
  startNamed();
  enterGameScreen(stalled.pool.url());
  platform.tickCountValue = app->record.lastTick + 83;

  timerEvent(*app, platform, kUpdateTimerId);
  ASSERT_TRUE(app->cycleInProgress);
  timerEvent(*app, platform, kUpdateTimerId);     // skipped while the first waits
  timerEvent(*app, platform, kAnimationTimerId);  // the animation goes on meanwhile
  EXPECT_EQ(app->screen.frame, 1u);
  EXPECT_EQ(platform.calls, (std::vector<std::string>{"repaint"}));

  const auto workersBefore = app->record.workers;
  shutDown(*app, platform);
  EXPECT_EQ(app->record.workers, workersBefore) << "an abandoned cycle commits nothing";
}

TEST_F(ShellTest, AShorterUpdateIntervalIsGrantedOnlyForAPoolOnThisMachine) {
  DemoPoolProcess pool;
  ASSERT_NE(pool.port, 0);
  startNamed();
  app->requestedUpdateIntervalMs = 10000;
  typeFields(pool.url(), u"demo");
  connectAndWait();
  ASSERT_EQ(app->mode, ScreenMode::Game);
  EXPECT_EQ(platform.updateIntervalMs, 10000u);
}

TEST(UpdateInterval, AppliesOnlyToLoopbackPools) {
  struct Case {
    std::optional<uint32_t> requested;
    std::u16string url;
    uint32_t interval;
  };
  const Case cases[] = {
      {std::nullopt, u"http://127.0.0.1:8080/", kUpdateIntervalMs},
      {10000, u"http://127.0.0.1:8080/", 10000},
      {10000, u"https://127.8.9.10/index.php", 10000},
      {10000, u"http://LocalHost/", 10000},
      {10000, u"https://pool.example.com/index.php", kUpdateIntervalMs},
      {10000, u"http://127.0.0.1.example.com/", kUpdateIntervalMs},
      {10000, u"http://128.0.0.1/", kUpdateIntervalMs},
      {10000, u"http://127.0.0.256/", kUpdateIntervalMs},
      {10000, u"http://localhost.example.com/", kUpdateIntervalMs},
      {10000, u"not a url", kUpdateIntervalMs},
  };
  for (const Case& c : cases) EXPECT_EQ(updateIntervalMs(c.requested, c.url), c.interval) << utf16ToUtf8(c.url);
}

TEST(UpdateInterval, ReadFromTheCommandLine) {
  struct Case {
    std::vector<std::string> args;
    std::optional<uint32_t> intervalMs;  // nullopt: the line is refused
    bool accepted;
  };
  const Case cases[] = {
      {{}, std::nullopt, true},
      {{"--update-interval", "10"}, 10000, true},
      {{"--update-interval", "2"}, 2000, true},
      {{"--update-interval", "150"}, 150000, true},
      {{"--update-interval", "1"}, std::nullopt, false},
      {{"--update-interval", "151"}, std::nullopt, false},
      {{"--update-interval", "10s"}, std::nullopt, false},
      {{"--update-interval", "-5"}, std::nullopt, false},
      {{"--update-interval", "99999999999"}, std::nullopt, false},
      {{"--update-interval"}, std::nullopt, false},
      {{"--other"}, std::nullopt, false},
  };
  for (const Case& c : cases) {
    const auto line = readCommandLine(c.args);
    ASSERT_EQ(line.has_value(), c.accepted) << c.args.size();
    if (line) {
      EXPECT_EQ(line->updateIntervalMs, c.intervalMs);
    }
  }
}

// --- Mouse, About, end ------------------------------------------------------------------------------

TEST_F(ShellTest, MouseReachesTheGameScreenOnlyAfterConnecting) {
  startNamed();
  const int32_t statusTabX = 70, statusTabY = 75;
  mouseDown(*app, platform, statusTabX, statusTabY);
  mouseMove(*app, platform, statusTabX, statusTabY);
  mouseUp(*app, platform);
  EXPECT_EQ(app->screen.page, kTopPage);
  EXPECT_TRUE(platform.calls.empty());

  enterGameScreen(deadPoolUrl());
  mouseDown(*app, platform, statusTabX, statusTabY);
  EXPECT_EQ(app->screen.page, kStatusPage);
}

TEST_F(ShellTest, CanvasShowsTheGameScreenOnlyAfterConnecting) {
  app->record.playerName = u"Tama";
  ASSERT_TRUE(saveSettings(app->record, app->settingsFile));
  ASSERT_TRUE(startUp(*app, platform, loadEmbeddedSheets));
  const Canvas untouched = app->canvas;

  paintGameScreen(*app, platform);  // the connect screen's labels are the front end's business
  EXPECT_EQ(app->canvas.storage, untouched.storage);

  enterGameScreen(deadPoolUrl());
  paintGameScreen(*app, platform);
  EXPECT_EQ(app->canvas.at(5, 150), palette::kTopPageGrey);
  EXPECT_EQ(app->canvas.at(120, 135), palette::kSkyBlue);
}

TEST_F(ShellTest, AboutBoxOpensInEitherScreenMode) {
  startNamed();
  aboutCommand(platform);
  enterGameScreen(deadPoolUrl());
  aboutCommand(platform);
  EXPECT_EQ(platform.calls, (std::vector<std::string>{"about", "about"}));
}

TEST_F(ShellTest, EndSavesTheRecordOnceMoreAndReleasesTheLock) {
  platform.nameAnswer = u"Kuro";
  ASSERT_TRUE(startUp(*app, platform, tinySheets()));
  ASSERT_FALSE(std::filesystem::exists(app->settingsFile));

  shutDown(*app, platform);

  EXPECT_NE(readFile(app->settingsFile).find("Kuro"), std::string::npos);
  EXPECT_EQ(platform.calls.back(), "unlock");
  EXPECT_FALSE(platform.lockHeld);
}

// A damaged record with every name for its copy taken: the player is told once, and neither the
// connect, an update nor the end overwrites the file.
TEST_F(ShellTest, ADamagedRecordThatCannotBeKeptAsideIsNeverOverwritten) {
  DemoPoolProcess pool;
  ASSERT_NE(pool.port, 0);
  const std::string damaged = R"({"Player Name":"Tama","Level":37,"Experience":"lots"})";
  std::ofstream(app->settingsFile, std::ios::binary) << damaged;
  std::filesystem::path copy = app->settingsFile;
  copy += ".broken";
  std::filesystem::create_directory(copy);
  for (int number = 2; number <= 9; ++number) {
    std::filesystem::create_directory(copy.string() + "-" + std::to_string(number));
  }
  platform.nameAnswer = u"Kuro";
  ASSERT_TRUE(startUp(*app, platform, tinySheets()));
  EXPECT_EQ(platform.messages, std::vector<std::u16string>{std::u16string(kMessageRecordNotSaved)});

  typeFields(pool.url(), u"demo");
  connectAndWait();
  ASSERT_EQ(app->mode, ScreenMode::Game);
  timerEvent(*app, platform, kUpdateTimerId);
  if (app->cycleInProgress) platform.runNextPosted();
  shutDown(*app, platform);

  EXPECT_EQ(platform.messages.size(), 1u) << "said once";
  EXPECT_EQ(readFile(app->settingsFile), damaged);
}

}  // namespace
}  // namespace orelog
