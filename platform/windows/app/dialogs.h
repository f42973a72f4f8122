// The modal boxes and dialogs on Win32: error messages, About, the name dialog, the PNG save dialog.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace orelog {

// A message with the caption "エラー" and one OK button; owner may be null.
void showErrorBox(HWND owner, std::u16string_view text);
// Dialog resource 103.
void runAboutBox(HWND owner);
// Dialog resource 143, pre-filled with current; nullopt when cancelled or closed.
std::optional<std::u16string> runNameDialog(HWND owner, std::u16string_view current);
// The common save dialog for a PNG file; the chosen path in UTF-8, nullopt when cancelled.
std::optional<std::string> runSaveDialog(HWND owner, std::u16string_view defaultName);

}  // namespace orelog
