// The rules every front end takes from the app: the accelerators, the name field's typing limit,
// and the connect screen's layout.
#include <gtest/gtest.h>

#include <string>

#include "app/accelerators.h"
#include "app/dialogs.h"
#include "services/null_platform.h"
#include "ui/connect_layout.h"

namespace orelog {
namespace {

struct AboutCounter : NullPlatform {
  int abouts = 0;
  void showAbout() override { ++abouts; }
};

TEST(Accelerators, AltWithQuestionMarkOrSlashOpensAboutAndNothingElseDoes) {
  const struct {
    char32_t character;
    bool alt;
    bool opensAbout;
  } cases[] = {
      {U'?', true, true},
      {U'/', true, true},
      {U'?', false, false},
      {U'/', false, false},
      {U'a', true, false},
      {U'\\', true, false},
      {U'？', true, false},
      {U'\0', true, false},
      {static_cast<char32_t>(U'/' + 0x10000), true, false},  // not cut to 16 bits
  };
  for (const auto& c : cases) {
    AboutCounter platform;
    const bool taken = runAccelerator(platform, c.character, c.alt);
    EXPECT_EQ(taken, c.opensAbout) << static_cast<uint32_t>(c.character) << " alt " << c.alt;
    EXPECT_EQ(platform.abouts, c.opensAbout ? 1 : 0);
    EXPECT_EQ(acceleratorCommand(c.character, c.alt), c.opensAbout ? Command::About : Command::None);
  }
}

TEST(NameField, TypingStopsAtTheRecordsLimitWithoutSplittingAPair) {
  const std::u16string full(kNameFieldMaxUnits, u'a');
  const std::u16string oneShort(kNameFieldMaxUnits - 1, u'a');
  const std::u16string pair = u"\U0001F431";  // two units
  const struct {
    const char* name;
    std::u16string current, inserted, fitting;
  } cases[] = {
      {"empty field takes a short name", u"", u"Mike", u"Mike"},
      {"text up to the limit goes in whole", oneShort, u"b", u"b"},
      {"a full field takes nothing", full, u"b", u""},
      {"a paste is cut at the limit", oneShort, u"bcd", u"b"},
      {"a pair that does not fit is left out whole", oneShort, pair + u"x", u""},
      {"a pair that fits goes in", std::u16string(kNameFieldMaxUnits - 2, u'a'), pair + u"x", pair},
      {"an overlong current text takes nothing", full + u"zz", u"b", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fittingNameInsertion(c.current, c.inserted), c.fitting) << c.name;
  }
  EXPECT_EQ(kNameFieldMaxUnits, 63u);
}

// The controls fit the 520 x 62 client area side by side, in tab order pool box, button, key box.
TEST(ConnectLayout, ClosedControlsFitTheConnectScreenWithoutOverlapping) {
  const Rect client{0, 0, kConnectClientWidth, kConnectClientHeight};
  ASSERT_EQ(std::size(kConnectControlPlaces), 3u);
  EXPECT_EQ(kConnectControlPlaces[0].control, ConnectControl::PoolBox);
  EXPECT_EQ(kConnectControlPlaces[1].control, ConnectControl::ConnectButton);
  EXPECT_EQ(kConnectControlPlaces[2].control, ConnectControl::ApiKeyBox);
  for (const ConnectControlPlace& place : kConnectControlPlaces) {
    const Rect closed = closedControlRect(place);
    EXPECT_TRUE(contains(client, closed.x, closed.y));
    EXPECT_TRUE(contains(client, closed.x + closed.width - 1, closed.y + closed.height - 1));
    for (const ConnectControlPlace& other : kConnectControlPlaces) {
      if (&other == &place) continue;
      EXPECT_FALSE(overlaps(closed, closedControlRect(other)));
    }
  }
  for (const ConnectLabel& label : kConnectLabels) {
    for (const ConnectControlPlace& place : kConnectControlPlaces) {
      EXPECT_LT(label.box.x, closedControlRect(place).x) << "labels stand left of the fields";
    }
  }
}

}  // namespace
}  // namespace orelog
