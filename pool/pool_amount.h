// Reading a coin amount from a pool answer: a JSON number, or a string holding a plain decimal.
#pragma once
#include <optional>
#include <string_view>

#include <picojson.h>

namespace orelog {

// MPOS sends balances and amounts as strings such as "5.984567890000000000000000000000"; very old
// pools send numbers. A string counts only when it is a plain decimal (optional sign, digits,
// optional fraction, optional exponent, nothing else), read without regard to the locale.
// nullopt for anything else, and for a value that is not finite.
std::optional<double> readPoolAmount(const picojson::value& value);

// The string rule alone.
std::optional<double> parsePlainDecimal(std::string_view text);

}  // namespace orelog
