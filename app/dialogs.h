// What the program's modal boxes and dialogs show, and how the name field limits typing, for
// every front end.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "profile/player_record.h"
#include "util/version.h"

namespace orelog {

// A dialog's size in dialog units and its font, as a dialog template states them.
struct DialogSize {
  int32_t width = 0, height = 0;
};
struct DialogFont {
  std::u16string_view face;
  int points = 0;
};

inline constexpr std::u16string_view kMessageCaption = u"エラー";
inline constexpr std::u16string_view kOkButton = u"OK";

// The About box: an icon, two lines and a default OK button.
inline constexpr std::u16string_view kAboutCaption = u"About " ORELOG_NAME;
inline constexpr std::u16string_view kAboutVersionLine = u"" ORELOG_NAME ", Version " ORELOG_VERSION;
inline constexpr std::u16string_view kAboutSecondLine = u"Your pool's figures, dug up by cats.";
inline constexpr DialogSize kAboutSize{170, 62};
inline constexpr DialogFont kAboutFont{u"MS Shell Dlg", 8};

// The name dialog: a label, one edit field and a default button; centred over its owner.
inline constexpr std::u16string_view kNameCaption = u"名前設定";
inline constexpr std::u16string_view kNameLabel = u"名前";
inline constexpr std::u16string_view kNameButton = u"決定";
inline constexpr DialogSize kNameDialogSize{209, 34};
inline constexpr DialogFont kNameDialogFont{u"メイリオ", 9};
// The field takes no more than the record keeps, and a line under it says so.
inline constexpr std::size_t kNameFieldMaxUnits = kPlayerNameMaxUnits;
inline constexpr std::u16string_view kNameLimitNote = u"名前は63文字までです。";
static_assert(kNameFieldMaxUnits == 63, "the note under the name field states the limit");

// The save dialog for a picture: one filter, overwriting asks first, no default extension. Where a
// platform's chooser has no title of its own, it shows the one a Japanese desktop gives it.
inline constexpr std::u16string_view kSaveDialogTitle = u"名前を付けて保存";
inline constexpr std::u16string_view kPngFilterName = u"PNG files {*.png}";
inline constexpr std::u16string_view kPngFilterPattern = u"*.png";

// What of `inserted` the name field takes when it holds `current`: all of it while the text stays
// within kNameFieldMaxUnits, otherwise the longest start that fits, never ending inside a
// surrogate pair (empty when nothing fits).
std::u16string fittingNameInsertion(std::u16string_view current, std::u16string_view inserted);

}  // namespace orelog
