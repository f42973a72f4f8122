// What the program's modal boxes and dialogs show, and how the name field limits typing, for
// every front end.
#pragma once
#include <string>
#include <string_view>

#include "profile/player_record.h"
#include "res/resource_texts.h"

namespace orelog {

inline constexpr std::u16string_view kMessageCaption = u"エラー";
inline constexpr std::u16string_view kOkButton = u"" ORELOG_OK_BUTTON;

// The About box: an icon, two lines and a default OK button.
inline constexpr std::u16string_view kAboutCaption = u"" ORELOG_ABOUT_CAPTION;
inline constexpr std::u16string_view kAboutVersionLine = u"" ORELOG_ABOUT_VERSION_LINE;
inline constexpr std::u16string_view kAboutSecondLine = u"" ORELOG_ABOUT_SECOND_LINE;

// The name dialog: a label, one edit field and a default button; centred over its owner.
inline constexpr std::u16string_view kNameCaption = u"" ORELOG_NAME_CAPTION;
inline constexpr std::u16string_view kNameLabel = u"" ORELOG_NAME_LABEL;
inline constexpr std::u16string_view kNameButton = u"" ORELOG_NAME_BUTTON;
// The field takes no more than the record keeps, and a line under it says so.
inline constexpr std::size_t kNameFieldMaxUnits = kPlayerNameMaxUnits;
inline constexpr std::u16string_view kNameLimitNote = u"" ORELOG_NAME_LIMIT_NOTE;
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
