// config.json: loading with its type rules and defaults, byte-exact saving, atomic replacement and
// the copy kept of a file that could not be read.
#include "profile/settings.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <array>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "tests/support/read_file.h"
#include "tests/support/temp_folder.h"

namespace orelog {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t kNow = 123456;

const std::string kSample =
    R"({"API Key":"","Experience":160,"Items":[{"Item ID":3,"X":-1,"Y":-1},{"Item ID":10,"X":120,"Y":142}],)"
    R"("Last Timestamp":1.30939632e+17,"Level":4,"Payout":12.5,"Play Time":3725000,"Player Name":"テスト",)"
    R"("Poko Coin Coin Spent":17,"Poko Point":5,"Server":"","Version":3})";

const std::string kDefaultsText =
    R"({"API Key":"","Experience":10,"Items":[],"Last Timestamp":0,"Level":1,"Payout":0,"Play Time":0,)"
    R"("Player Name":"","Poko Coin Coin Spent":0,"Poko Point":0,"Server":"","Version":3})";

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = temp_.path;
    file_ = folder_ / "config.json";
  }

  void write(const std::string& bytes) { writeTo(file_, bytes); }
  static void writeTo(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string read(const fs::path& path) { return test::readFile(path); }
  fs::path broken() const { return folder_ / "config.json.broken"; }
  // Whatever a save left in the folder beside the record and its broken copy: temporary files.
  std::vector<std::string> leftovers() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      const std::string name = entry.path().filename().string();
      if (name != "config.json" && name != "config.json.broken") names.push_back(name);
    }
    return names;
  }

  // A record loaded from `bytes`, its balance set beforehand to show that the load clears it.
  PlayerRecord load(const std::string& bytes, bool* result = nullptr) {
    write(bytes);
    PlayerRecord record;
    record.balance = 99.0;
    const bool loaded = loadSettings(record, file_, kNow).loaded;
    if (result) *result = loaded;
    return record;
  }
  std::string saved(const PlayerRecord& record) {
    EXPECT_TRUE(saveSettings(record, file_));
    return read(file_);
  }

  test::TempFolder temp_{"orelog-settings"};
  fs::path folder_;
  fs::path file_;
};

void expectDefaults(const PlayerRecord& record) {
  EXPECT_EQ(record.version, 3);
  EXPECT_EQ(record.playerName, u"");
  EXPECT_EQ(record.serverUrl, u"");
  EXPECT_EQ(record.apiKey, u"");
  EXPECT_EQ(record.playTimeMs, 0);
  EXPECT_EQ(record.lastTimestamp, 0);
  EXPECT_EQ(record.payout, 0.0);
  EXPECT_EQ(record.level, 1);
  EXPECT_EQ(record.experience, 10);
  EXPECT_EQ(record.experienceToNext, 23);
  EXPECT_EQ(record.coinSpent, 0.0);
  EXPECT_EQ(record.points, 0);
  EXPECT_EQ(record.lastTick, kNow);
  EXPECT_EQ(record.balance, 0.0);
}

TEST_F(SettingsFile, MissingFileGivesTheDefaultsAndAFirstSaveWritesAllTwelveMembers) {
  PlayerRecord record;
  record.balance = 5.0;
  EXPECT_FALSE(loadSettings(record, file_, kNow));
  expectDefaults(record);
  EXPECT_TRUE(record.items.empty());
  EXPECT_FALSE(fs::exists(broken()));  // a missing file is not a broken one
  EXPECT_EQ(saved(record), kDefaultsText);
}

TEST_F(SettingsFile, SampleFileRoundTripsByteForByte) {
  bool loaded = false;
  const PlayerRecord record = load(kSample, &loaded);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(record.version, 3);
  EXPECT_EQ(record.playerName, u"テスト");
  EXPECT_EQ(record.playTimeMs, 3725000);
  EXPECT_EQ(record.lastTimestamp, 130939632000000000);
  EXPECT_EQ(record.payout, 12.5);
  EXPECT_EQ(record.level, 4);
  EXPECT_EQ(record.experience, 160);
  EXPECT_EQ(record.experienceToNext, 145);  // 305 - 160
  EXPECT_EQ(record.coinSpent, 17.0);
  EXPECT_EQ(record.points, 5);
  EXPECT_EQ(record.lastTick, kNow);
  EXPECT_EQ(record.balance, 0.0);
  ASSERT_EQ(record.items.size(), 2u);
  const OwnedItem first = record.items[0];
  const OwnedItem second = record.items[1];
  EXPECT_EQ((std::array{first.itemId, first.x, first.y, first.width, first.height}), (std::array{3, -1, -1, 25, 12}));
  EXPECT_EQ((std::array{second.itemId, second.x, second.y, second.width, second.height}),
            (std::array{10, 120, 142, 46, 10}));
  EXPECT_FALSE(fs::exists(broken()));
  EXPECT_EQ(saved(record), kSample);
}

// The newest transaction id counted, kept once the pool has sent ids; a record without it reads and
// writes as it always has.
TEST_F(SettingsFile, TheLastTransactionIdSurvivesALoadAndASave) {
  std::string withId = kSample;
  withId.insert(withId.size() - 1, ",\"Last Transaction Id\":48213907");  // after the historical members
  bool loaded = false;
  PlayerRecord record = load(withId, &loaded);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(record.lastTransactionId, 48213907);
  EXPECT_EQ(record.lastTimestamp, 130939632000000000);
  EXPECT_EQ(saved(record), withId);
  EXPECT_EQ(load(kSample).lastTransactionId, 0);
  record.lastTransactionId = 0;
  EXPECT_EQ(saved(record), kSample) << "no id yet: the member is left out";
  for (const char* id : {"-5", "0", "2.9"}) {
    std::string text = kSample;
    text.replace(text.find("\"Level\""), 0, std::string("\"Last Transaction Id\":") + id + ",");
    EXPECT_EQ(load(text).lastTransactionId, std::string(id) == "2.9" ? 2 : 0) << id;
  }
  std::string wrongType = kSample;
  wrongType.replace(wrongType.find("\"Level\""), 0, "\"Last Transaction Id\":\"12\",");
  bool wrongLoaded = true;
  load(wrongType, &wrongLoaded);
  EXPECT_FALSE(wrongLoaded) << "a member of the wrong type is a damaged file, as for every other";
}

// Members that load and their value in the record; every case loads successfully.
TEST_F(SettingsFile, ConvertsNumbersByTruncationAndSaturation) {
  struct Case {
    const char* text;
    int32_t level;
    int64_t experience;
    int64_t playTime;
    int32_t version;
  };
  constexpr int32_t i32max = std::numeric_limits<int32_t>::max();
  constexpr int64_t i64min = std::numeric_limits<int64_t>::min();
  const Case cases[] = {
      {R"({"Level":2.9})", 2, 10, 0, 3},
      {R"({"Level":-2.9})", -2, 10, 0, 3},
      {R"({"Play Time":1e3})", 1, 10, 1000, 3},
      {R"({"Version":7})", 1, 10, 0, 7},
      {R"({"Level":1e300,"Experience":-1e300})", i32max, i64min, 0, 3},
      {R"({"Level":5}trailing text is not read)", 5, 10, 0, 3},
      {R"({"Level":3,"Level":6})", 6, 10, 0, 3},  // a repeated name: the last one counts
  };
  for (const auto& c : cases) {
    bool loaded = false;
    const PlayerRecord record = load(c.text, &loaded);
    EXPECT_TRUE(loaded) << c.text;
    EXPECT_EQ(record.level, c.level) << c.text;
    EXPECT_EQ(record.experience, c.experience) << c.text;
    EXPECT_EQ(record.playTimeMs, c.playTime) << c.text;
    EXPECT_EQ(record.version, c.version) << c.text;
  }
}

// No save writes a number beyond the double range: such a file is damaged, whichever member holds it.
TEST_F(SettingsFile, ANumberBeyondTheDoubleRangeIsADamagedFile) {
  const char* const texts[] = {
      R"({"Level":1e400})",
      R"({"Experience":-1e400,"Level":4})",
      R"({"Payout":1e400,"Poko Coin Coin Spent":-1e999})",
      R"({"Level":4,"Items":[{"Item ID":3,"X":1e400,"Y":0}]})",
      R"({"Level":4,"Unknown":[1e400]})",
  };
  for (const char* text : texts) {
    bool loaded = true;
    const PlayerRecord record = load(text, &loaded);
    EXPECT_FALSE(loaded) << text;
    expectDefaults(record);
    EXPECT_TRUE(record.items.empty()) << text;
    EXPECT_EQ(read(broken()), text);
    EXPECT_EQ(saved(record), kDefaultsText) << text;
  }
}

TEST_F(SettingsFile, AnUnknownVersionIsWrittenBackUnchanged) {
  const PlayerRecord record = load(R"({"Version":7})");
  EXPECT_NE(saved(record).find(R"("Version":7})"), std::string::npos);
}

TEST_F(SettingsFile, WritesNumbersAsTheLibrarySerialisesThem) {
  struct Case {
    double payout;
    const char* text;
  };
  const Case cases[] = {
      {12.5, R"("Payout":12.5,)"},
      {0.1, R"("Payout":0.10000000000000001,)"},
      {-1.0, R"("Payout":-1,)"},
      {9007199254740991.0, R"("Payout":9007199254740991,)"},
      {9007199254740992.0, R"("Payout":9007199254740992,)"},
      {1e20, R"("Payout":1e+20,)"},
  };
  for (const auto& c : cases) {
    PlayerRecord record;
    record.payout = c.payout;
    EXPECT_NE(saved(record).find(c.text), std::string::npos) << c.text;
  }
}

TEST_F(SettingsFile, ReadsItemsUntilTheFirstIdentifierThatIsNoKind) {
  struct Case {
    const char* items;
    std::vector<int32_t> kinds;
  };
  const Case cases[] = {
      {R"([{"Item ID":16,"X":1,"Y":2}])", {}},
      {R"([{"Item ID":1,"X":1,"Y":2},{"Item ID":99,"X":1,"Y":2},{"Item ID":2,"X":1,"Y":2}])", {1}},
      {R"([{"Item ID":1,"X":1,"Y":2},{"Item ID":-1,"X":1,"Y":2}])", {1}},
      {R"([{"Item ID":1,"X":1,"Y":2},{"Item ID":1e300,"X":1,"Y":2}])", {1}},
      {R"([{"Item ID":15.7,"X":1,"Y":2},{"Item ID":-0.5,"X":1,"Y":2}])", {15, 0}},
      {R"([{"Item ID":16}])", {}},  // the coordinates of a non-kind are not looked at
      {R"([])", {}},
  };
  for (const auto& c : cases) {
    bool loaded = false;
    const PlayerRecord record = load(std::string(R"({"Level":4,"Items":)") + c.items + "}", &loaded);
    EXPECT_TRUE(loaded) << c.items;
    EXPECT_EQ(record.level, 4) << c.items;
    std::vector<int32_t> kinds;
    for (const OwnedItem& item : record.items) kinds.push_back(item.itemId);
    EXPECT_EQ(kinds, c.kinds) << c.items;
  }
}

// Every one of these makes the load fail: the scalars take the defaults, a good "Level" included.
TEST_F(SettingsFile, WrongTypesMakeTheLoadFail) {
  const char* cases[] = {
      R"({"Level":null})",
      R"({"Server":5})",
      R"({"Items":{}})",
      R"({"Version":"3"})",
      R"({"Player Name":["x"]})",
      R"({"Poko Point":true})",
      R"({"Poko Coin Coin Spent":"17"})",
      R"({"Items":[3]})",
      R"({"Items":[{"X":1,"Y":2}]})",
      R"({"Items":[{"Item ID":1,"Y":2}]})",
      R"({"Items":[{"Item ID":1,"X":1,"Y":null}]})",
      R"([{"Level":5}])",
      "nonsense",
      "",
      "\xEF\xBB\xBF{\"Level\":5}",  // the parser does not skip a byte-order mark
  };
  for (const char* text : cases) {
    // Objects get a good "Level" in front, to show that it is reset too.
    const std::string bytes = std::string(text).empty() || text[0] != '{'
                                  ? text
                                  : std::string(R"({"Level":5,)") + (text + 1);
    bool loaded = true;
    const PlayerRecord record = load(bytes, &loaded);
    EXPECT_FALSE(loaded) << bytes;
    expectDefaults(record);
    EXPECT_TRUE(record.items.empty()) << bytes;
  }
}

TEST_F(SettingsFile, ItemsReadBeforeAFaultStayOwned) {
  bool loaded = true;
  const PlayerRecord record =
      load(R"({"Level":4,"Items":[{"Item ID":5,"X":7,"Y":8},{"Item ID":"6","X":1,"Y":1}]})", &loaded);
  EXPECT_FALSE(loaded);
  expectDefaults(record);
  ASSERT_EQ(record.items.size(), 1u);
  EXPECT_EQ(record.items[0].itemId, 5);
  EXPECT_EQ(record.items[0].x, 7);
  EXPECT_EQ(record.items[0].width, 21);
}

TEST_F(SettingsFile, TextsStayWithinTheirFields) {
  struct Case {
    const char* name;
    std::string member;
    std::u16string playerName, server;
  };
  const std::string emoji = "\xF0\x9F\x98\x80";
  const Case cases[] = {
      {"name of 63 units", R"("Player Name":")" + std::string(63, 'n') + "\"", std::u16string(63, u'n'), u""},
      {"name of 64 units", R"("Player Name":")" + std::string(64, 'n') + "\"", u"", u""},
      {"name whose pair makes 64 units", R"("Player Name":")" + std::string(62, 'n') + emoji + "\"", u"", u""},
      {"name ending at NUL", R"("Player Name":"ab\u0000cd")", u"ab", u""},
      {"server of 300 units", R"("Server":")" + std::string(300, 's') + "\"", u"", std::u16string(255, u's')},
      {"server whose pair crosses unit 255", R"("Server":")" + std::string(254, 's') + emoji + "\"", u"",
       std::u16string(254, u's')},
      {"escaped solidus", R"("Server":"http:\/\/pool\/")", u"", u"http://pool/"},
  };
  for (const auto& c : cases) {
    bool loaded = false;
    const PlayerRecord record = load("{" + c.member + "}", &loaded);
    EXPECT_TRUE(loaded) << c.name;
    EXPECT_EQ(record.playerName, c.playerName) << c.name;
    EXPECT_EQ(record.serverUrl, c.server) << c.name;
  }
}

TEST_F(SettingsFile, EscapesTextsAndReadsThemBack) {
  PlayerRecord record;
  record.playerName = u"A/B";
  record.apiKey = u"q\"\\\t\x01\x7F";
  record.serverUrl = u"https://pool.example/";
  const std::string text = saved(record);
  EXPECT_NE(text.find(R"("Player Name":"A\/B")"), std::string::npos);
  EXPECT_NE(text.find(R"("API Key":"q\"\\\t\u0001\u007f")"), std::string::npos);
  EXPECT_NE(text.find(R"("Server":"https:\/\/pool.example\/")"), std::string::npos);
  PlayerRecord back;
  EXPECT_TRUE(loadSettings(back, file_, kNow));
  EXPECT_EQ(back.playerName, u"A/B");
  EXPECT_EQ(back.apiKey, record.apiKey);
  EXPECT_EQ(back.serverUrl, record.serverUrl);
}

// A text whose UTF-8 form needs more than 255 bytes is cut on a character boundary.
TEST_F(SettingsFile, SavesTextsOfAtMost255Bytes) {
  PlayerRecord record;
  record.serverUrl = std::u16string(255, u'あ');             // 765 bytes
  record.apiKey = std::u16string(253, u'k') + u"\U0001F600";  // 257 bytes
  const std::string text = saved(record);
  std::string kana;
  for (int i = 0; i < 85; ++i) kana += "あ";
  EXPECT_NE(text.find("\"Server\":\"" + kana + "\""), std::string::npos);
  EXPECT_NE(text.find("\"API Key\":\"" + std::string(253, 'k') + "\""), std::string::npos);
}

TEST_F(SettingsFile, UnknownMembersAreIgnoredAndDropped) {
  bool loaded = false;
  const PlayerRecord record = load(R"({"Extra":{"deep":[1,2]},"Level":3})", &loaded);
  EXPECT_TRUE(loaded);
  EXPECT_EQ(record.level, 3);
  EXPECT_EQ(saved(record).find("Extra"), std::string::npos);
}

// After a syntax error the load sees exactly the members completed before it.
TEST_F(SettingsFile, ASyntaxErrorLeavesTheCompletedMembers) {
  struct Case {
    const char* text;
    int32_t level, version;
    int64_t experience;
    std::size_t items;
    double payout;
  };
  const Case cases[] = {
      {R"({"Level":5,"Version":7,"Experience":)", 5, 7, 10, 0, 0.0},
      {R"({"Level":5,"Version":tr)", 5, 3, 10, 0, 0.0},  // the half-read member is not there at all
      {R"({"Level":5,"Items":[{"Item ID":1,"X":2,"Y":3},{"Item ID":2)", 5, 3, 10, 0, 0.0},
      {R"({"Payout":2.5,"Level":5 "Version":7})", 5, 3, 10, 0, 2.5},
  };
  for (const auto& c : cases) {
    bool loaded = false;
    const PlayerRecord record = load(c.text, &loaded);
    EXPECT_TRUE(loaded) << c.text;
    EXPECT_EQ(record.level, c.level) << c.text;
    EXPECT_EQ(record.version, c.version) << c.text;
    EXPECT_EQ(record.experience, c.experience) << c.text;
    EXPECT_EQ(record.items.size(), c.items) << c.text;
    EXPECT_EQ(record.payout, c.payout) << c.text;
    EXPECT_EQ(read(broken()), c.text) << c.text;  // the original is kept for recovery
  }
}

TEST_F(SettingsFile, DeepNestingEndsTheParseInsteadOfTheStack) {
  const std::string arrays = R"({"Level":3,"Extra":)" + std::string(200000, '[');
  std::string objects = R"({"Level":3,"Extra":)";
  for (int i = 0; i < 200000; ++i) objects += R"({"a":)";
  for (const std::string& text : {arrays, objects}) {
    bool loaded = false;
    const PlayerRecord record = load(text, &loaded);
    EXPECT_TRUE(loaded);
    EXPECT_EQ(record.level, 3);
  }
}

TEST_F(SettingsFile, AFileThatFailsToLoadIsCopiedAsideBeforeASaveReplacesIt) {
  writeTo(broken(), "an older copy");
  const std::string damaged = R"({"Level":37,"Experience":"lots"})";
  bool loaded = true;
  const PlayerRecord record = load(damaged, &loaded);
  EXPECT_FALSE(loaded);
  expectDefaults(record);
  EXPECT_EQ(read(broken()), damaged);
  EXPECT_EQ(saved(record), kDefaultsText);
  EXPECT_EQ(read(broken()), damaged);
}

TEST_F(SettingsFile, AFolderInPlaceOfTheFileGivesTheDefaults) {
  fs::create_directory(file_);
  PlayerRecord record;
  EXPECT_FALSE(loadSettings(record, file_, kNow));
  expectDefaults(record);
  EXPECT_FALSE(saveSettings(record, file_));
  EXPECT_TRUE(fs::is_directory(file_));
  EXPECT_EQ(leftovers(), std::vector<std::string>{});
}

TEST_F(SettingsFile, AFileReadCleanlyIsNotCopied) {
  load(kSample);
  EXPECT_FALSE(fs::exists(broken()));
}

TEST_F(SettingsFile, ANumberThatIsNotFiniteStopsTheSaveBeforeTheFileIsTouched) {
  write(kSample);
  for (auto setBad : {+[](PlayerRecord& r) { r.payout = std::numeric_limits<double>::infinity(); },
                      +[](PlayerRecord& r) { r.coinSpent = std::nan(""); }}) {
    PlayerRecord record;
    setBad(record);
    EXPECT_FALSE(saveSettings(record, file_));
    EXPECT_EQ(read(file_), kSample);
    EXPECT_EQ(leftovers(), std::vector<std::string>{});
  }
}

TEST_F(SettingsFile, AFailedWriteLeavesTheOldFileWhole) {
  write(kSample);
  PlayerRecord record;
  record.playerName = std::u16string(63, u'x');  // the new text is longer than the limit below
  // Files may grow to 64 bytes only: the write of the temporary file fails half-way, as on a
  // full disk.
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 64;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool result = saveSettings(record, file_);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(result);
  EXPECT_EQ(read(file_), kSample);
  EXPECT_EQ(leftovers(), std::vector<std::string>{});
}

TEST_F(SettingsFile, AFileThatCannotBeCreatedLeavesTheOldFileWhole) {
  EXPECT_FALSE(saveSettings(PlayerRecord{}, folder_ / "missing" / "config.json"));
  EXPECT_FALSE(fs::exists(folder_ / "missing"));
}

// Names that an older version or another program used for its temporary file are never taken over.
TEST_F(SettingsFile, NamesTakenBesideTheRecordAreLeftAlone) {
  write(kSample);
  fs::create_directory(folder_ / "config.json.tmp");
  writeTo(folder_ / "config.json.old", "kept");
  EXPECT_TRUE(saveSettings(PlayerRecord{}, file_));
  EXPECT_NE(read(file_), kSample);
  EXPECT_TRUE(fs::is_directory(folder_ / "config.json.tmp"));
  EXPECT_EQ(read(folder_ / "config.json.old"), "kept");
}

TEST_F(SettingsFile, ASaveReplacesTheWholeFile) {
  write(kSample + std::string(1000, ' ') + "tail");
  PlayerRecord record;
  record.version = 3;
  record.level = 1;
  record.experience = 10;
  EXPECT_EQ(saved(record), kDefaultsText);
  EXPECT_EQ(leftovers(), std::vector<std::string>{});
}

}  // namespace
}  // namespace orelog
