// Coin amounts: JSON numbers, and strings holding a plain decimal as MPOS sends them.
#include <gtest/gtest.h>

#include "pool/pool_amount.h"
#include "tests/support/printable.h"

namespace orelog {
namespace {

struct Decimal {
  std::string text;
  std::optional<double> expected;
};

void PrintTo(const Decimal& value, std::ostream* out) { *out << test::printable(value.text); }

class ReadsDecimal : public testing::TestWithParam<Decimal> {};

TEST_P(ReadsDecimal, OnlyWhenPlain) {
  const auto read = readPoolAmount(picojson::value(GetParam().text));
  ASSERT_EQ(read.has_value(), GetParam().expected.has_value()) << GetParam().text;
  if (read) {
    EXPECT_DOUBLE_EQ(*read, *GetParam().expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Strings, ReadsDecimal,
    testing::Values(Decimal{"5.984567890000000000000000000000", 5.98456789}, Decimal{"0", 0.0},
                    Decimal{"12", 12.0}, Decimal{"-1.5", -1.5}, Decimal{"+2.25", 2.25}, Decimal{"1e3", 1000.0},
                    Decimal{"1.5E-2", 0.015}, Decimal{"007.50", 7.5}, Decimal{"", std::nullopt},
                    Decimal{"n/a", std::nullopt}, Decimal{" 1", std::nullopt}, Decimal{"1 ", std::nullopt},
                    Decimal{"1.", std::nullopt}, Decimal{".5", std::nullopt}, Decimal{"1,5", std::nullopt},
                    Decimal{"0x10", std::nullopt}, Decimal{"nan", std::nullopt}, Decimal{"inf", std::nullopt},
                    Decimal{"1e", std::nullopt}, Decimal{"--1", std::nullopt}, Decimal{"1e999", std::nullopt},
                    Decimal{std::string("1\0", 2), std::nullopt}));

TEST(PoolAmount, TakesNumbersAndRefusesOtherTypes) {
  EXPECT_EQ(readPoolAmount(picojson::value(3.0)), 3.0);
  EXPECT_EQ(readPoolAmount(picojson::value(-0.5)), -0.5);
  EXPECT_EQ(readPoolAmount(picojson::value(true)), std::nullopt);
  EXPECT_EQ(readPoolAmount(picojson::value()), std::nullopt);
  EXPECT_EQ(readPoolAmount(picojson::value(picojson::array{})), std::nullopt);
  EXPECT_EQ(readPoolAmount(picojson::value(picojson::object{})), std::nullopt);
}

}  // namespace
}  // namespace orelog
