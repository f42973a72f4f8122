// UTF-8 <-> UTF-16 conversion at the edges where text meets JSON, URLs and file names.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orelog {

// Invalid UTF-8 sequences become U+FFFD, as the Windows converter does without strict flags.
std::u16string utf8ToUtf16(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string utf16ToUtf8(std::u16string_view text);

// Conversion into a field of `capacity` units including the terminator: nullopt when the text
// needs more than capacity - 1 units (the caller then leaves the field empty).
std::optional<std::u16string> utf8ToUtf16Field(std::string_view text, std::size_t capacity);

// The longest prefix of at most maxUnits units that does not split a surrogate pair.
std::u16string truncateUtf16(std::u16string_view text, std::size_t maxUnits);
// The longest prefix of at most maxBytes bytes that does not split a UTF-8 character.
std::string truncateUtf8(std::string_view text, std::size_t maxBytes);

// ASCII text, such as digits, as UTF-16.
std::u16string asciiText(std::string_view ascii);
// A number's decimal digits, "-" first when below zero.
std::u16string decimalText(int64_t value);

}  // namespace orelog
