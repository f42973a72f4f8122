// Percent-encoding of URL parts, and the two sets of bytes that may stay as they are.
#pragma once
#include <string>
#include <string_view>

namespace orelog {

enum class HexCase { Upper, Lower };

// The unreserved bytes of a URL: A-Z a-z 0-9 - _ . ~
bool isUnreserved(unsigned char byte);
// The same without the digits: the share link escapes those too.
bool isUnreservedLetterOrMark(unsigned char byte);

// Every byte for which keep() is false becomes "%" and two hexadecimal digits in the given case.
std::string percentEncodeExcept(std::string_view bytes, bool (*keep)(unsigned char), HexCase hexCase);

// Percent-encodes only the bytes that may not stand in a URL as they are (controls, space,
// non-ASCII, and " < > \ ^ ` { | } #); "/", "?", "&" and "%" keep their URL meaning.
std::string percentEncodeUnsafe(std::string_view bytes);

}  // namespace orelog
