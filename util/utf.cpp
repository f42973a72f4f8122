// UTF-8 <-> UTF-16 conversion at the edges where text meets JSON, URLs and file names.
#include "util/utf.h"

#include <cstdint>

namespace orelog {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

constexpr bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }
constexpr bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
constexpr bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// One decoded character and the number of bytes it took; an ill-formed sequence gives U+FFFD and
// consumes its longest valid-looking start (at least one byte), so decoding resumes at the next
// byte that can begin a character.
struct Decoded {
  char32_t codePoint;
  std::size_t length;
};

// The valid range of the second byte depends on the lead byte: it rules out overlong forms,
// surrogates (ED A0..BF) and code points beyond U+10FFFF.
struct LeadRule {
  std::size_t length;
  unsigned char secondLow, secondHigh;
  char32_t bits;
};

LeadRule leadRule(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return {2, 0x80, 0xBF, char32_t{lead} & 0x1F};
  if (lead == 0xE0) return {3, 0xA0, 0xBF, 0};
  if (lead == 0xED) return {3, 0x80, 0x9F, 0xD};
  if (lead >= 0xE1 && lead <= 0xEF) return {3, 0x80, 0xBF, char32_t{lead} & 0x0F};
  if (lead == 0xF0) return {4, 0x90, 0xBF, 0};
  if (lead >= 0xF1 && lead <= 0xF3) return {4, 0x80, 0xBF, char32_t{lead} & 0x07};
  if (lead == 0xF4) return {4, 0x80, 0x8F, 4};
  return {0, 0, 0, 0};
}

Decoded decodeOne(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) return {lead, 1};
  const LeadRule rule = leadRule(lead);
  if (rule.length == 0) return {kReplacement, 1};
  char32_t codePoint = rule.bits;
  for (std::size_t i = 1; i < rule.length; ++i) {
    if (at + i >= text.size()) return {kReplacement, i};
    const auto byte = static_cast<unsigned char>(text[at + i]);
    const bool inRange = i == 1 ? (byte >= rule.secondLow && byte <= rule.secondHigh) : isContinuation(byte);
    if (!inRange) return {kReplacement, i};
    codePoint = (codePoint << 6) | (byte & 0x3F);
  }
  return {codePoint, rule.length};
}

void appendUtf16(std::u16string& out, char32_t codePoint) {
  if (codePoint < 0x10000) {
    out.push_back(static_cast<char16_t>(codePoint));
    return;
  }
  const char32_t offset = codePoint - 0x10000;
  out.push_back(static_cast<char16_t>(0xD800 + (offset >> 10)));
  out.push_back(static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
}

void appendUtf8(std::string& out, char32_t codePoint) {
  if (codePoint < 0x80) {
    out.push_back(static_cast<char>(codePoint));
  } else if (codePoint < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else if (codePoint < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  }
}

// The length in bytes of the character starting at `at`, as the decoder would consume it.
std::size_t utf8CharLength(std::string_view text, std::size_t at) { return decodeOne(text, at).length; }

}  // namespace

std::u16string utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const Decoded decoded = decodeOne(text, at);
    appendUtf16(out, decoded.codePoint);
    at += decoded.length;
  }
  return out;
}

std::string utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char16_t unit = text[at];
    if (isHighSurrogate(unit) && at + 1 < text.size() && isLowSurrogate(text[at + 1])) {
      const char32_t codePoint = 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (char32_t{text[at + 1]} - 0xDC00);
      appendUtf8(out, codePoint);
      ++at;
    } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
      appendUtf8(out, kReplacement);
    } else {
      appendUtf8(out, unit);
    }
  }
  return out;
}

std::optional<std::u16string> utf8ToUtf16Field(std::string_view text, std::size_t capacity) {
  if (capacity == 0) return std::nullopt;
  std::u16string converted = utf8ToUtf16(text);
  if (converted.size() > capacity - 1) return std::nullopt;
  return converted;
}

std::u16string truncateUtf16(std::u16string_view text, std::size_t maxUnits) {
  if (text.size() <= maxUnits) return std::u16string(text);
  std::size_t cut = maxUnits;
  // Cutting between the two halves of a pair would leave a lone high surrogate.
  if (cut > 0 && isHighSurrogate(text[cut - 1]) && isLowSurrogate(text[cut])) --cut;
  return std::u16string(text.substr(0, cut));
}

std::string truncateUtf8(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return std::string(text);
  std::size_t cut = 0;
  while (cut < text.size()) {
    const std::size_t length = utf8CharLength(text, cut);
    if (cut + length > maxBytes) break;
    cut += length;
  }
  return std::string(text.substr(0, cut));
}

std::u16string asciiText(std::string_view ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

std::u16string decimalText(int64_t value) { return asciiText(std::to_string(value)); }

}  // namespace orelog
