// The share message and link, and the screenshot's name and save.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "services/null_platform.h"
#include "ui/canvas.h"
#include "share/screenshot.h"
#include "share/share_link.h"
#include "util/hashrate.h"
#include "util/utf.h"
#include "tests/support/printable.h"

namespace orelog {
namespace {

constexpr const char* kEncodedHashtags =
    "%e3%83%86%e3%82%b9%e3%83%88%e4%b8%ad%2c%e3%83%9b%e3%83%aa%e3%83%80%e3%82%b9";

// A player with one worker mining at `khs`.
PlayerRecord recordOf(std::u16string name, int32_t level, double khs, int32_t points) {
  PlayerRecord record;
  record.playerName = std::move(name);
  record.level = level;
  record.workers = {{"a.rig", khs}};
  record.totalHashrate = wholeKhs(khs);
  record.points = points;
  return record;
}

TEST(ShareLink, CarriesTheEncodedMessageAndTheTwoHashtags) {
  const std::string expected =
      "https://twitter.com/intent/tweet?text=Bob%e3%81%95%e3%82%93%e3%81%ae%e3%83%ac%e3%83%99%e3%83%ab"
      "%e3%81%af%20%35%e3%80%81%e6%8e%a1%e6%8e%98%e5%8a%9b%e3%81%af%20%31%20MH%2fs%e3%80%82%34%32%20"
      "%e3%83%9d%e3%82%b3%e3%83%9d%e3%82%a4%e3%83%b3%e3%83%88%e6%89%80%e6%8c%81%e3%81%97%e3%81%a6%e3"
      "%81%84%e3%81%be%e3%81%99%e3%80%82&hashtags=" +
      std::string(kEncodedHashtags);
  EXPECT_EQ(shareLink(recordOf(u"Bob", 5, 1500, 42)), expected);
}

struct MessageCase {
  double khs;
  std::u16string power;
};

void PrintTo(const MessageCase& c, std::ostream* os) { *os << c.khs << " " << test::printable(c.power); }

class ShareMessage : public ::testing::TestWithParam<MessageCase> {};

TEST_P(ShareMessage, ShowsKiloBelow1000AndWholeMegaFrom1000) {
  EXPECT_EQ(shareMessage(recordOf(u"Bob", 3, GetParam().khs, 7)),
            u"Bobさんのレベルは 3、採掘力は " + GetParam().power + u"。7 ポコポイント所持しています。");
}

INSTANTIATE_TEST_SUITE_P(Powers, ShareMessage,
                         ::testing::Values(MessageCase{999, u"999 KH/s"}, MessageCase{1000, u"1 MH/s"},
                                           MessageCase{1999, u"1 MH/s"}, MessageCase{0, u"0 KH/s"},
                                           MessageCase{-5, u"-5 KH/s"}, MessageCase{25500, u"25 MH/s"},
                                           MessageCase{95e9, u"95 TH/s"}, MessageCase{0.49, u"0.49 KH/s"}));

// The message names the pool's figures summed, as the player box does: two CPU workers of a
// yescrypt pool mine 0.73 KH/s between them, though experience takes their whole KH/s, 0.
TEST(ShareMessage, SumsTheWorkersAsThePoolSentThem) {
  PlayerRecord record = recordOf(u"Bob", 3, 0.49, 7);
  record.workers.emplace("a.rig2", 0.24);
  EXPECT_EQ(record.totalHashrate, 0);
  EXPECT_EQ(shareMessage(record), u"Bobさんのレベルは 3、採掘力は 0.73 KH/s。7 ポコポイント所持しています。");
}

TEST(ShareMessage, NamesAnEmptyPlayerNameless) {
  EXPECT_EQ(shareMessage(recordOf(u"", 1, 0, 0)),
            u"名無しさんのレベルは 1、採掘力は 0 KH/s。0 ポコポイント所持しています。");
}

struct EncodeCase {
  std::string text;
  std::string encoded;
};

void PrintTo(const EncodeCase& c, std::ostream* os) { *os << test::printable(c.text); }

class PercentEncode : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(PercentEncode, KeepsLettersAndFourMarksAndEscapesEverythingElseInLowerCase) {
  EXPECT_EQ(percentEncode(GetParam().text), GetParam().encoded);
}

INSTANTIATE_TEST_SUITE_P(Bytes, PercentEncode,
                         ::testing::Values(EncodeCase{"", ""}, EncodeCase{" ", "%20"}, EncodeCase{"1", "%31"},
                                           EncodeCase{"KH/s", "KH%2fs"}, EncodeCase{"-_.~AZaz", "-_.~AZaz"},
                                           EncodeCase{",", "%2c"}, EncodeCase{"あ", "%e3%81%82"},
                                           EncodeCase{"%", "%25"}, EncodeCase{"\xff", "%ff"},
                                           EncodeCase{std::string(1, '\0'), "%00"}));

// Names of 63 units that would overflow the message's buffers if written whole.
class LongName : public ::testing::TestWithParam<std::u16string> {};

TEST_P(LongName, IsShortenedOnACharacterBoundaryUntilTheLinkFits) {
  // The longest figures there are: the mining power reads "-9223372036854775808 KH/s".
  const PlayerRecord record = recordOf(GetParam(), -2147483647 - 1, -1e19, -2147483647 - 1);
  const std::u16string message = shareMessage(record);
  const std::string utf8 = utf16ToUtf8(message);
  EXPECT_LE(message.size(), 255u);
  EXPECT_LE(utf8.size(), 255u);
  EXPECT_LE(percentEncode(utf8).size(), 511u);
  EXPECT_LE(shareLink(record).size(), 1023u);
  EXPECT_EQ(utf8.find("\xEF\xBF\xBD"), std::string::npos) << "no surrogate pair was split";
  const std::size_t nameLength = message.find(u"さんのレベルは");
  ASSERT_NE(nameLength, std::u16string::npos);
  EXPECT_GT(nameLength, 0u);
  EXPECT_LT(nameLength, GetParam().size());
  EXPECT_EQ(message.substr(0, nameLength), GetParam().substr(0, nameLength));
  // The name keeps as much as fits: one more character of it would overflow a buffer.
  const char16_t following = GetParam()[nameLength];
  const std::size_t next = following >= 0xD800 && following <= 0xDBFF ? 2 : 1;  // a whole pair
  const std::u16string longer =
      std::u16string(message).insert(nameLength, GetParam().substr(nameLength, next));
  const std::string longerUtf8 = utf16ToUtf8(longer);
  EXPECT_TRUE(longer.size() > 255u || longerUtf8.size() > 255u || percentEncode(longerUtf8).size() > 511u);
}

std::u16string pairs(int count) {
  std::u16string text;
  for (int i = 0; i < count; ++i) text += u"\U0001F431";
  return text;
}

INSTANTIATE_TEST_SUITE_P(Names, LongName,
                         ::testing::Values(std::u16string(63, u'掘'), std::u16string(63, u'7'),
                                           // append: GCC 12 at -O3 misreports `u"x" + std::u16string`
                                           // inside libstdc++ as an overlapping copy (-Wrestrict).
                                           std::u16string(u"x").append(pairs(31)), pairs(31) + u"x"));

TEST(ShareMessage, KeepsANameThatFits) {
  const std::u16string name(20, u'a');
  EXPECT_EQ(shareMessage(recordOf(name, 1, 0, 0)).substr(0, 20), name);
  EXPECT_EQ(shareMessage(recordOf(name, 1, 0, 0)).substr(20, 2), u"さん");
}

// --- Screenshot ---

TEST(ScreenshotFileName, IsTheLocalTimeZeroPadded) {
  EXPECT_EQ(screenshotFileName(DateTime{2026, 12, 10, 3, 5, 9}), u"Orelog20261210030509.png");
  EXPECT_EQ(screenshotFileName(DateTime{987, 1, 2, 0, 0, 0}), u"Orelog09870102000000.png");
  EXPECT_EQ(screenshotFileName(DateTime{-1, -2, 2147483647, 0, 0, 0}), u"Orelog-001-22147483647000000.png");
}

struct PngPlatform : NullPlatform {
  std::optional<std::string> answer;
  bool encodes = true;
  std::vector<std::u16string> asked;
  std::vector<std::string> written;

  ZonedDateTime localTime() override { return {{2027, 1, 31, 23, 59, 58}, 0}; }
  std::optional<std::string> askSavePath(std::u16string_view defaultName) override {
    asked.emplace_back(defaultName);
    return answer;
  }
  bool encodePng(const Canvas&, const std::string& path) override {
    written.push_back(path);
    return encodes;
  }
};

TEST(SaveScreenshot, ProposesTheDefaultNameAndWritesTheChosenPath) {
  PngPlatform platform;
  platform.answer = "/tmp/shots/mine";
  const Canvas canvas = makeCanvas();
  EXPECT_TRUE(saveScreenshot(platform, canvas));
  EXPECT_EQ(platform.asked, std::vector<std::u16string>{u"Orelog20270131235958.png"});
  EXPECT_EQ(platform.written, std::vector<std::string>{"/tmp/shots/mine"});
}

TEST(SaveScreenshot, CancellingWritesNothingAndCountsAsDone) {
  PngPlatform platform;
  EXPECT_TRUE(saveScreenshot(platform, makeCanvas()));
  EXPECT_TRUE(platform.written.empty());
}

TEST(SaveScreenshot, AFailedWriteIsReportedToTheCallerOnly) {
  PngPlatform platform;
  platform.answer = "/nowhere/shot.png";
  platform.encodes = false;
  EXPECT_FALSE(saveScreenshot(platform, makeCanvas()));
}

}  // namespace
}  // namespace orelog
