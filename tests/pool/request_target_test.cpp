// Request targets: the template, and the encoding that keeps the key one query member.
#include <gtest/gtest.h>


#include "pool/request_target.h"
#include "tests/support/printable.h"

namespace orelog {
namespace {

struct Target {
  std::u16string path;
  std::u16string key;
  std::u16string expected;
};

void PrintTo(const Target& value, std::ostream* out) { *out << test::printable(value.path) << " " << test::printable(value.key); }

class BuildsTarget : public testing::TestWithParam<Target> {};

TEST_P(BuildsTarget, FromPathAndKey) {
  EXPECT_EQ(buildRequestTarget(GetParam().path, "getuserbalance", GetParam().key), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, BuildsTarget,
    testing::Values(
        Target{u"index.php", u"0123456789abcdef", u"/index.php?page=api&action=getuserbalance&api_key=0123456789abcdef"},
        Target{u"", u"k", u"/?page=api&action=getuserbalance&api_key=k"},
        Target{u"mpos/public/index.php", u"A-Z_a.z~9", u"/mpos/public/index.php?page=api&action=getuserbalance&api_key=A-Z_a.z~9"},
        // A key with "&" stays one member instead of ending early.
        Target{u"", u"a&action=x", u"/?page=api&action=getuserbalance&api_key=a%26action%3Dx"},
        Target{u"", u"a b+c%d/e?f#g", u"/?page=api&action=getuserbalance&api_key=a%20b%2Bc%25d%2Fe%3Ff%23g"},
        Target{u"", u"鍵", u"/?page=api&action=getuserbalance&api_key=%E9%8D%B5"},
        // Path characters keep their URL meaning; only what cannot stand in a URL is encoded.
        Target{u"my pool/index.php", u"k", u"/my%20pool/index.php?page=api&action=getuserbalance&api_key=k"},
        Target{u"もな/", u"k", u"/%E3%82%82%E3%81%AA/?page=api&action=getuserbalance&api_key=k"},
        Target{u"a?b=1&c", u"k", u"/a?b=1&c?page=api&action=getuserbalance&api_key=k"},
        Target{u"a#b\"c", u"k", u"/a%23b%22c?page=api&action=getuserbalance&api_key=k"}));

TEST(RequestTarget, EachActionHasItsOwnTemplate) {
  for (const char* action : {"getuserworkers", "getuserbalance", "getusertransactions"}) {
    const std::string expected = std::string("/index.php?page=api&action=") + action + "&api_key=k";
    EXPECT_EQ(buildRequestTarget(u"index.php", action, u"k"), std::u16string(expected.begin(), expected.end()));
  }
}

}  // namespace
}  // namespace orelog
