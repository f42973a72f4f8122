// Pool URL parsing: the whole-text match, the default ports, the groups, the two failure kinds.
#include <gtest/gtest.h>


#include <climits>

#include "pool/pool_address.h"
#include "tests/support/printable.h"

namespace orelog {
namespace {

struct Parsed {
  std::u16string url;
  bool secure;
  std::u16string host;
  int port;
  std::u16string path;
};

void PrintTo(const Parsed& value, std::ostream* out) { *out << test::printable(value.url); }

class ParsesUrl : public testing::TestWithParam<Parsed> {};

TEST_P(ParsesUrl, IntoItsParts) {
  const auto& expected = GetParam();
  const auto result = parsePoolUrl(expected.url);
  ASSERT_TRUE(std::holds_alternative<PoolAddress>(result));
  const auto& address = std::get<PoolAddress>(result);
  EXPECT_EQ(address.secure, expected.secure);
  EXPECT_EQ(address.host, expected.host);
  EXPECT_EQ(address.port, expected.port);
  EXPECT_EQ(address.path, expected.path);
}

INSTANTIATE_TEST_SUITE_P(
    Accepted, ParsesUrl,
    testing::Values(Parsed{u"https://pool.example/", true, u"pool.example", 443, u""},
                    Parsed{u"https://pool.example/index.php", true, u"pool.example", 443, u"index.php"},
                    Parsed{u"http://pool.example:8080/mpos/public/index.php", false, u"pool.example", 8080,
                           u"mpos/public/index.php"},
                    Parsed{u"http://pool.example", false, u"pool.example", 80, u""},
                    Parsed{u"http://pool.example:8080", false, u"pool.example", 8080, u""},
                    Parsed{u"https://pool.example:0443/x", true, u"pool.example", 443, u"x"},
                    Parsed{u"http://pool.example//x", false, u"pool.example", 80, u"/x"},
                    Parsed{u"http://pool.example/a b?c=1#d", false, u"pool.example", 80, u"a b?c=1#d"},
                    // Anything but ":" and "/" belongs to the host, the at sign and "?" included.
                    Parsed{u"http://user@pool.example?x#y/", false, u"user@pool.example?x#y", 80, u""},
                    Parsed{u"http://プール.jp/もな/", false, u"プール.jp", 80, u"もな/"},
                    // Code units travel one by one, a surrogate pair and a lone surrogate alike.
                    Parsed{u"http://h/\U0001F431\xD800", false, u"h", 80, u"\U0001F431\xD800"},
                    // No range check: a huge port saturates, and the fetch refuses it.
                    Parsed{u"http://h:99999999999999999999/", false, u"h", INT_MAX, u""}));

struct Refused {
  std::u16string url;
  PoolAddressError error;
};

void PrintTo(const Refused& value, std::ostream* out) { *out << test::printable(value.url); }

class RefusesUrl : public testing::TestWithParam<Refused> {};

TEST_P(RefusesUrl, WithItsFailureKind) {
  const auto result = parsePoolUrl(GetParam().url);
  ASSERT_TRUE(std::holds_alternative<PoolAddressError>(result));
  EXPECT_EQ(std::get<PoolAddressError>(result), GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    NotRecognised, RefusesUrl,
    testing::Values(Refused{u"", PoolAddressError::NotRecognised},
                    Refused{u"http://pool.example:/index.php", PoolAddressError::NotRecognised},
                    Refused{u"ftp://pool.example/", PoolAddressError::NotRecognised},
                    Refused{u"HTTPS://pool.example/", PoolAddressError::NotRecognised},
                    Refused{u"Http://pool.example/", PoolAddressError::NotRecognised},
                    Refused{u"http:///index.php", PoolAddressError::NotRecognised},
                    Refused{u"http://pool.example:80:81/", PoolAddressError::NotRecognised},
                    Refused{u"http://pool.example:8a/", PoolAddressError::NotRecognised},
                    Refused{u" http://pool.example/", PoolAddressError::NotRecognised},
                    Refused{u"http://pool.example/a\nb", PoolAddressError::NotRecognised},
                    Refused{u"http://pool.example/a\rb", PoolAddressError::NotRecognised},
                    Refused{u"Mining Pool Hub", PoolAddressError::NotRecognised}));

TEST(PoolUrl, LongestFieldTextParsesAndLongerIsNotRecognised) {
  const std::u16string prefix = u"http://h/";
  const std::u16string longest = prefix + std::u16string(255 - prefix.size(), u'a');
  EXPECT_TRUE(std::holds_alternative<PoolAddress>(parsePoolUrl(longest)));
  const auto tooLong = parsePoolUrl(longest + u"a");
  ASSERT_TRUE(std::holds_alternative<PoolAddressError>(tooLong));
  EXPECT_EQ(std::get<PoolAddressError>(tooLong), PoolAddressError::NotRecognised);
}

}  // namespace
}  // namespace orelog
