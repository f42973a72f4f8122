// The one rule for every name the pool sends, applied before any page, notice, terminal or file sees it.
#pragma once
#include <string>
#include <string_view>

namespace orelog {

// A name that shows as what it is and stays on one line: C0 and C1 controls and DEL become U+FFFD,
// so a line break cannot start a forged line and an escape cannot drive a terminal; bidirectional
// embeddings, overrides and isolates (U+202A to U+202E, U+2066 to U+2069) are removed, so
// "gnp.exe" cannot read as "exe.png"; invalid UTF-8 becomes U+FFFD. UTF-8 in, UTF-8 out.
std::string cleanPoolName(std::string_view name);

}  // namespace orelog
