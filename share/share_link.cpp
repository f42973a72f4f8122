// The microblog message about the player's progress, and the tweet-intent link that carries it.
#include "share/share_link.h"

#include <cassert>

#include "game/mining_power.h"
#include "util/percent_encoding.h"
#include "util/utf.h"

namespace orelog {

namespace {

constexpr const char* kIntentLink = "https://twitter.com/intent/tweet?";
constexpr const char16_t* kHashtags = u"テスト中,ホリダス";
constexpr const char16_t* kNoName = u"名無し";
// The message's buffers, terminator excluded: it must fit them whatever the name.
constexpr std::size_t kMessageMaxUnits = 255;
constexpr std::size_t kMessageUtf8MaxBytes = 255;
constexpr std::size_t kEncodedMaxBytes = 511;
// Checked only by an assertion, so unused when assertions are compiled out.
[[maybe_unused]] constexpr std::size_t kLinkMaxUnits = 1023;

std::u16string messageWithName(const PlayerRecord& record, std::u16string_view name) {
  std::u16string message(name);
  message +=
      u"さんのレベルは " + decimalText(record.level) + u"、採掘力は " + miningPowerText(shownTotalKhs(record));
  message += u"。";
  message += decimalText(record.points) + u" ポコポイント所持しています。";
  return message;
}

bool fitsBuffers(std::u16string_view message) {
  const std::string utf8 = utf16ToUtf8(message);
  return message.size() <= kMessageMaxUnits && utf8.size() <= kMessageUtf8MaxBytes &&
         percentEncode(utf8).size() <= kEncodedMaxBytes;
}

}  // namespace

std::u16string shareMessage(const PlayerRecord& record) {
  const std::u16string name = record.playerName.empty() ? std::u16string(kNoName) : record.playerName;
  std::u16string message = messageWithName(record, name);
  if (fitsBuffers(message)) return message;
  // A long name is cut to its longest start (never inside a surrogate pair) with which the message
  // fits its buffers, so the link stays whole. The message only grows with the name, so that
  // length is found by halving: [fitting, tooLong) holds it.
  std::size_t fitting = 0, tooLong = name.size();
  while (tooLong - fitting > 1) {
    const std::size_t middle = fitting + (tooLong - fitting) / 2;
    if (fitsBuffers(messageWithName(record, truncateUtf16(name, middle))))
      fitting = middle;
    else
      tooLong = middle;
  }
  return messageWithName(record, truncateUtf16(name, fitting));
}

std::string percentEncode(std::string_view utf8) {
  return percentEncodeExcept(utf8, isUnreservedLetterOrMark, HexCase::Lower);
}

std::string shareLink(const PlayerRecord& record) {
  const std::string text = percentEncode(utf16ToUtf8(shareMessage(record)));
  const std::string hashtags = percentEncode(utf16ToUtf8(kHashtags));
  std::string link = std::string(kIntentLink) + "text=" + text + "&hashtags=" + hashtags;
  assert(link.size() <= kLinkMaxUnits && "a shortened message always leaves the link inside its buffer");
  return link;
}

}  // namespace orelog
