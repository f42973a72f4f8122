// Parsing a pool URL with the standard regular-expression engine, matching on UTF-16 code units.
#include "pool/pool_address.h"

#include <algorithm>
#include <climits>
#include <locale>
#include <regex>
#include <string_view>

#include "profile/player_record.h"

namespace orelog {
namespace {

constexpr const wchar_t* kPoolUrlPattern = LR"((http|https)://([^:/]+)(?::(\d+))?(?:/(.*))?)";
constexpr std::size_t kExpectedSubMatches = 5;  // the whole text and four groups
constexpr int kHttpsPort = 443;
constexpr int kHttpPort = 80;
// Texts longer than serverUrl holds are refused before the backtracking engine, whose recursion
// grows with the length of the text, ever sees them.
constexpr std::size_t kLongestUrl = kServerUrlMaxUnits;

// One wchar_t per UTF-16 code unit, surrogates included, so the engine sees exactly the units a
// 16-bit wide-character engine would, and group positions map back one to one.
std::wstring widenUnits(const std::u16string& text) { return {text.begin(), text.end()}; }

std::u16string narrowUnits(const std::wstring& text) {
  std::u16string out;
  out.reserve(text.size());
  for (wchar_t unit : text) out.push_back(static_cast<char16_t>(unit));
  return out;
}

// Decimal digits, leading zeros allowed; a number beyond int saturates (no port is that large).
int readPort(const std::wstring& digits) {
  long long value = 0;
  for (wchar_t digit : digits) {
    value = std::min<long long>(value * 10 + (digit - L'0'), INT_MAX);
  }
  return static_cast<int>(value);
}

PoolAddress addressFromMatch(const std::wsmatch& match) {
  PoolAddress address;
  address.secure = match[1].str() == L"https";
  address.host = narrowUnits(match[2].str());
  const bool hasPort = match[3].matched && match[3].length() > 0;
  address.port = hasPort ? readPort(match[3].str()) : address.secure ? kHttpsPort : kHttpPort;
  address.path = match[4].matched ? narrowUnits(match[4].str()) : std::u16string();
  return address;
}

}  // namespace

std::variant<PoolAddress, PoolAddressError> parsePoolUrl(const std::u16string& url) {
  if (url.size() > kLongestUrl) return PoolAddressError::NotRecognised;
  const std::wstring text = widenUnits(url);
  try {
    std::wregex expression;
    expression.imbue(std::locale::classic());  // \d is 0-9 whatever the process locale
    expression.assign(kPoolUrlPattern, std::regex_constants::ECMAScript);
    std::wsmatch match;
    if (!std::regex_match(text, match, expression) || match.size() != kExpectedSubMatches) {
      return PoolAddressError::NotRecognised;
    }
    return addressFromMatch(match);
  } catch (const std::regex_error&) {
    return PoolAddressError::EngineError;
  }
}

namespace {

constexpr int kAddressParts = 4;
constexpr int kLargestAddressPart = 255;
constexpr int kLoopbackFirstPart = 127;

// The value of one dotted-decimal part of 1 to 3 digits, or -1.
int addressPart(std::u16string_view text) {
  if (text.empty() || text.size() > 3) return -1;
  int value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return -1;
    value = value * 10 + (c - u'0');
  }
  return value <= kLargestAddressPart ? value : -1;
}

bool isLoopbackAddress(std::u16string_view host) {
  int parts = 0;
  int first = -1;
  while (parts < kAddressParts) {
    const std::size_t dot = host.find(u'.');
    const int value = addressPart(host.substr(0, dot));
    if (value < 0) return false;
    if (parts++ == 0) first = value;
    if (dot == std::u16string_view::npos) break;
    host.remove_prefix(dot + 1);
  }
  return parts == kAddressParts && host.find(u'.') == std::u16string_view::npos && first == kLoopbackFirstPart;
}

bool isLocalhostName(std::u16string_view host) {
  constexpr std::u16string_view kName = u"localhost";
  if (host.size() != kName.size()) return false;
  for (std::size_t i = 0; i < host.size(); ++i) {
    const char16_t c = host[i] >= u'A' && host[i] <= u'Z' ? host[i] - u'A' + u'a' : host[i];
    if (c != kName[i]) return false;
  }
  return true;
}

}  // namespace

bool isLoopbackHost(const std::u16string& host) {
  return isLocalhostName(host) || isLoopbackAddress(host);
}

}  // namespace orelog
