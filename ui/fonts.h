// The faces of the program's fonts. The page fonts' cell heights are the values of FontSize.
#pragma once
#include <string_view>

namespace orelog {

// Every page text, and the credits text box at the medium size; spelled full-width, as installed.
inline constexpr std::u16string_view kPageFontFace = u"ＭＳ Ｐゴシック";

// The connect screen's one font, for its controls and its painted labels. This face's 16-pixel
// cell holds a 12-pixel em; a stand-in face takes the same em, so the labels and fields keep their
// size whatever the stand-in's line spacing.
inline constexpr std::u16string_view kConnectFontFace = u"Meiryo UI";
inline constexpr int kConnectFontCellPixels = 16;
inline constexpr int kConnectFontEmPixels = 12;

// Where a face is not installed, the first installed face of its list stands in at the same cell
// sizes: Windows in other languages than Japanese carries neither face above by default (they are
// optional there), but does carry Yu Gothic. Each face by both its Japanese and its English name.
inline constexpr std::u16string_view kPageFontFaces[] = {kPageFontFace, u"MS PGothic", u"Yu Gothic UI",
                                                         u"Yu Gothic",    u"游ゴシック", u"MS UI Gothic"};
inline constexpr std::u16string_view kConnectFontFaces[] = {kConnectFontFace, u"Yu Gothic UI", u"Yu Gothic", u"游ゴシック",
                                                            kPageFontFace,    u"MS PGothic",   u"MS UI Gothic"};

}  // namespace orelog
