// Coin amounts from pool answers.
#include "pool/pool_amount.h"

#include <charconv>
#include <cmath>
#include <string>

namespace orelog {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Advances over one or more digits; false when there is none.
bool skipDigits(std::string_view text, std::size_t& pos) {
  const std::size_t start = pos;
  while (pos < text.size() && isDigit(text[pos])) ++pos;
  return pos > start;
}

bool skipSign(std::string_view text, std::size_t& pos) {
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
  return true;
}

bool isPlainDecimal(std::string_view text) {
  std::size_t pos = 0;
  if (!skipSign(text, pos) || !skipDigits(text, pos)) return false;
  if (pos < text.size() && text[pos] == '.' && !skipDigits(text, ++pos)) return false;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    ++pos;
    if (!skipSign(text, pos) || !skipDigits(text, pos)) return false;
  }
  return pos == text.size();
}

}  // namespace

std::optional<double> parsePlainDecimal(std::string_view text) {
  if (!isPlainDecimal(text)) return std::nullopt;
  if (text.front() == '+') text.remove_prefix(1);  // from_chars takes no plus sign
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<double> readPoolAmount(const picojson::value& value) {
  if (value.is<double>()) {
    const double number = value.get<double>();
    return std::isfinite(number) ? std::optional(number) : std::nullopt;
  }
  if (value.is<std::string>()) return parsePlainDecimal(value.get<std::string>());
  return std::nullopt;
}

}  // namespace orelog
