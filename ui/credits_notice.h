// The licence notice of the JSON library, shown in the credits page's text box.
#pragma once
#include <string_view>

namespace orelog {

// The library's name, its copyright lines and its BSD licence, one paragraph per line, lines
// separated by CR LF as a multi-line edit control expects. Generated from the installed header.
std::u16string_view creditsNotice();

}  // namespace orelog
