// What the connect screen's boxes list and select, and the field limits of the connect check.
#include "ui/connect_screen.h"

#include <gtest/gtest.h>

#include "profile/settings.h"
#include "tests/support/recording_platform.h"
#include "tests/support/temp_folder.h"

namespace orelog {
namespace {

std::vector<std::u16string> directoryNames(const PlayerRecord& record) {
  std::vector<std::u16string> names;
  for (const auto& entry : record.poolDirectory) names.push_back(entry.first);
  return names;
}

TEST(ConnectScreenContent, FirstRunOffersTheDirectoryWithItsFirstPoolSelected) {
  const PlayerRecord record;
  const ConnectControlsContent content = connectControlsContent(record);
  EXPECT_EQ(content.poolEntries, directoryNames(record));
  EXPECT_EQ(content.poolSelection, 0);
  EXPECT_EQ(content.keyEntries, (std::vector<std::u16string>{u""}));
  EXPECT_EQ(content.keySelection, 0);
}

TEST(ConnectScreenContent, SavedDirectoryUrlSelectsItsPoolByName) {
  PlayerRecord record;
  record.serverUrl = u"http://mona-pool.net/";
  record.apiKey = u"0123abcd";
  const ConnectControlsContent content = connectControlsContent(record);
  ASSERT_EQ(content.poolEntries, directoryNames(record));
  ASSERT_GE(content.poolSelection, 0);
  EXPECT_EQ(content.poolEntries[static_cast<std::size_t>(content.poolSelection)], u"もなぷーる");
  EXPECT_EQ(content.keyEntries, (std::vector<std::u16string>{u"0123abcd"}));
}

TEST(ConnectScreenContent, TypedUrlComesFirstAndSelectedAheadOfTheDirectory) {
  struct Case {
    std::u16string savedUrl;
  };
  const Case cases[] = {
      {u"http://127.0.0.1:8080/index.php"},
      {u"HTTP://MONA-POOL.NET/"},  // URLs match case-sensitively
      {u"http://mona-pool.net"},   // and as a whole
  };
  for (const Case& c : cases) {
    PlayerRecord record;
    record.serverUrl = c.savedUrl;
    const ConnectControlsContent content = connectControlsContent(record);
    std::vector<std::u16string> expected = directoryNames(record);
    expected.insert(expected.begin(), c.savedUrl);
    EXPECT_EQ(content.poolEntries, expected);
    EXPECT_EQ(content.poolSelection, 0);
  }
}

TEST(ConnectFields, EachFieldTakes255UnitsAndRefuses256) {
  struct Case {
    std::u16string pool, key;
    bool accepted;
    std::u16string message;
    bool poolStored;  // a too-long key comes after the pool has been stored
  };
  const std::u16string url255 = u"http://" + std::u16string(248, u'a');
  const std::u16string pair = u"\U0001F431";  // two units
  const Case cases[] = {
      {url255, std::u16string(255, u'k'), true, u"", true},
      {url255 + u"b", u"key", false, u"サーバーアドレスが長すぎます。", false},
      {url255 + u"b", std::u16string(256, u'k'), false, u"サーバーアドレスが長すぎます。", false},
      {u"pool", std::u16string(256, u'k'), false, u"APIキーが長すぎます。", true},
      {u"pool", std::u16string(254, u'k') + pair, false, u"APIキーが長すぎます。", true},
      {std::u16string(251, u'p') + pair, u"", true, u"", true},
      {u"", u"", true, u"", true},  // empty fields are the pool's business
  };
  for (const Case& c : cases) {
    test::RecordingPlatform platform;
    platform.poolField = c.pool;
    platform.keyField = c.key;
    PlayerRecord record;
    record.serverUrl = u"http://before/";
    record.apiKey = u"before";

    EXPECT_EQ(validateAndStoreConnectFields(platform, record), c.accepted)
        << c.pool.size() << "/" << c.key.size();
    if (c.accepted) {
      EXPECT_TRUE(platform.messages.empty());
      EXPECT_EQ(record.serverUrl, c.pool);
      EXPECT_EQ(record.apiKey, c.key);
    } else {
      EXPECT_EQ(platform.messages, (std::vector<std::u16string>{c.message}));
      EXPECT_EQ(record.serverUrl, c.poolStored ? c.pool : u"http://before/");
      EXPECT_EQ(record.apiKey, u"before") << "a refused key is never stored";
    }
  }
}

// A text whose UTF-8 form the save would cut is refused at connect, so the pool and key used in
// the session are the ones the next run reads back.
TEST(ConnectFields, WhatIsUsedIsWhatTheSaveKeeps) {
  struct Case {
    const char* what;
    std::u16string pool, key;
    std::u16string message;  // empty when accepted
  };
  const std::u16string e200(200, u'\u00E9');  // 200 units, 400 bytes
  std::u16string cats63;  // 126 units, 252 bytes
  for (int i = 0; i < 63; ++i) cats63 += u"\U0001F431";
  const Case cases[] = {
      {"a pool of 200 e-acute", u"http://" + e200, u"key", u"サーバーアドレスが長すぎます。"},
      {"a key of 200 e-acute", u"pool", e200, u"APIキーが長すぎます。"},
      {"a key of 255 bytes", u"pool", std::u16string(127, u'\u00E9') + u"k", u""},
      {"a key of 256 bytes", u"pool", std::u16string(128, u'\u00E9'), u"APIキーが長すぎます。"},
      {"a pool of 255 bytes", u"http://" + std::u16string(82, u'\u3042') + u"xy", u"", u""},
      {"a pool of 256 bytes", u"http://" + std::u16string(83, u'\u3042'), u"", u"サーバーアドレスが長すぎます。"},
      {"a key of 255 bytes in surrogate pairs", u"pool", cats63 + u"abc", u""},
      {"a key of 256 bytes in surrogate pairs", u"pool", cats63 + u"abcd", u"APIキーが長すぎます。"},
  };
  for (const Case& c : cases) {
    test::RecordingPlatform platform;
    platform.poolField = c.pool;
    platform.keyField = c.key;
    PlayerRecord record;
    const bool accepted = validateAndStoreConnectFields(platform, record);
    EXPECT_EQ(accepted, c.message.empty()) << c.what;
    if (!accepted) {
      EXPECT_EQ(platform.messages, (std::vector<std::u16string>{c.message})) << c.what;
      continue;
    }
    test::TempFolder folder;
    ASSERT_TRUE(saveSettings(record, folder.file("config.json"))) << c.what;
    PlayerRecord reloaded;
    ASSERT_TRUE(loadSettings(reloaded, folder.file("config.json"), 0)) << c.what;
    EXPECT_EQ(reloaded.serverUrl, c.pool) << c.what;
    EXPECT_EQ(reloaded.apiKey, c.key) << c.what;
  }
}

TEST(ConnectFields, PoolNameBecomesItsUrlAndAnythingElseIsTakenAsTyped) {
  struct Case {
    std::u16string typed, stored;
  };
  const Case cases[] = {
      {u"もなぷーる", u"http://mona-pool.net/"},
      {u"VIPPool", u"https://vippool.net/"},
      {u"vippool", u"vippool"},    // names match case-sensitively
      {u" VIPPool", u" VIPPool"},  // and blanks are kept
      {u"http://127.0.0.1:1/", u"http://127.0.0.1:1/"},
  };
  for (const Case& c : cases) {
    test::RecordingPlatform platform;
    platform.poolField = c.typed;
    PlayerRecord record;
    ASSERT_TRUE(validateAndStoreConnectFields(platform, record));
    EXPECT_EQ(record.serverUrl, c.stored);
  }
}

}  // namespace
}  // namespace orelog
