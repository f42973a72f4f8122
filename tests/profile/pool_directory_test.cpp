// The built-in pool directory: its order, the forms of its URLs, and the two look-ups.
#include "profile/pool_directory.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "pool/pool_address.h"

namespace orelog {
namespace {

bool unitsBefore(const std::u16string& a, const std::u16string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char16_t x, char16_t y) {
    return static_cast<uint16_t>(x) < static_cast<uint16_t>(y);
  });
}

TEST(PoolDirectory, HoldsTenPoolsOrderedByUnsignedCodeUnits) {
  const auto directory = makePoolDirectory();
  ASSERT_EQ(directory.size(), 10u);
  std::vector<std::u16string> names;
  for (const auto& entry : directory) names.push_back(entry.first);
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end(), unitsBefore));
  // Upper-case ASCII before lower-case, Japanese names last.
  EXPECT_LT(names.front()[0], u'a');
  EXPECT_GE(names.back()[0], u'\x3000');
  EXPECT_EQ(makePoolDirectory(), directory);
}

TEST(PoolDirectory, UrlsHaveTheExpectedForms) {
  int https = 0, http = 0, port8080 = 0, indexPhp = 0, bareRoot = 0, oneDirectory = 0, threeSegments = 0;
  for (const auto& [name, url] : makePoolDirectory()) {
    const auto parsed = parsePoolUrl(url);
    ASSERT_TRUE(std::holds_alternative<PoolAddress>(parsed)) << std::string(url.begin(), url.end());
    const auto& address = std::get<PoolAddress>(parsed);
    (address.secure ? https : http) += 1;
    port8080 += address.port == 8080 && url.find(u":8080/") != std::u16string::npos;
    const auto& path = address.path;
    indexPhp += path == u"index.php";
    bareRoot += path.empty() && url.back() == u'/';
    oneDirectory += !path.empty() && path.back() == u'/' && std::count(path.begin(), path.end(), u'/') == 1;
    threeSegments += std::count(path.begin(), path.end(), u'/') == 2 && path.ends_with(u"/index.php");
  }
  EXPECT_EQ(https, 6);
  EXPECT_EQ(http, 4);
  EXPECT_EQ(port8080, 1);
  EXPECT_EQ(indexPhp, 4);
  EXPECT_EQ(bareRoot, 4);
  EXPECT_EQ(oneDirectory, 1);
  EXPECT_EQ(threeSegments, 1);
}

TEST(PoolDirectory, FindsUrlsByExactNameOnly) {
  const auto directory = makePoolDirectory();
  const auto& [name, url] = *directory.begin();
  EXPECT_EQ(findPoolUrl(directory, name), url);
  std::u16string otherCase = name;
  for (auto& unit : otherCase) unit = unit >= u'A' && unit <= u'Z' ? unit + 32 : unit >= u'a' && unit <= u'z' ? unit - 32 : unit;
  EXPECT_EQ(findPoolUrl(directory, otherCase), std::nullopt);
  EXPECT_EQ(findPoolUrl(directory, name + u" "), std::nullopt);
  EXPECT_EQ(findPoolUrl(directory, u""), std::nullopt);
}

TEST(PoolDirectory, FindsNamesByWholeUrlTheLastMatchWinning) {
  const PoolDirectory directory{{u"A", u"http://a/"}, {u"B", u"http://same/"}, {u"C", u"http://same/"}};
  EXPECT_EQ(findPoolName(directory, u"http://a/"), u"A");
  EXPECT_EQ(findPoolName(directory, u"http://same/"), u"C");
  EXPECT_EQ(findPoolName(directory, u"http://a"), std::nullopt);
  const auto builtIn = makePoolDirectory();
  for (const auto& [name, url] : builtIn) EXPECT_EQ(findPoolName(builtIn, url), name);
}

}  // namespace
}  // namespace orelog
