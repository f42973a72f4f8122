// The modal boxes and dialogs on Win32. The dialogs' layouts are resources; every text that is not
// in a resource comes from the core.
#include "dialogs.h"

#include <commdlg.h>

#include <vector>

#include "app/dialogs.h"
#include "platform/windows/resource_ids.h"
#include "wide_text.h"

namespace orelog {

namespace {

// What the name dialog starts with, and what it hands back.
struct NameDialogState {
  std::wstring text;
  bool accepted = false;
};

INT_PTR CALLBACK aboutProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

std::wstring dialogItemText(HWND dialog, int item) {
  HWND control = GetDlgItem(dialog, item);
  std::vector<wchar_t> text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1);
  GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
  return text.data();
}

INT_PTR CALLBACK nameProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      const auto& state = *reinterpret_cast<NameDialogState*>(lParam);
      SendDlgItemMessageW(dialog, ORELOG_ID_NAME_EDIT, EM_LIMITTEXT, kNameFieldMaxUnits, 0);
      SetDlgItemTextW(dialog, ORELOG_ID_NAME_EDIT, state.text.c_str());
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        auto& state = *reinterpret_cast<NameDialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
        state.text = dialogItemText(dialog, ORELOG_ID_NAME_EDIT);
        state.accepted = true;
      }
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

// The filter list: name and pattern, each ended by a zero, the whole list by one more.
std::wstring pngFilter() {
  std::wstring filter = wideText(kPngFilterName);
  filter += L'\0';
  filter += wideText(kPngFilterPattern);
  filter += L'\0';
  return filter;
}

}  // namespace

void showErrorBox(HWND owner, std::u16string_view text) {
  MessageBoxW(owner, wideText(text).c_str(), wideText(kMessageCaption).c_str(), MB_OK);
}

void runAboutBox(HWND owner) {
  DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(ORELOG_ID_ABOUT_DIALOG), owner, aboutProcedure,
                  0);
}

std::optional<std::u16string> runNameDialog(HWND owner, std::u16string_view current) {
  NameDialogState state{wideText(current)};
  DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(ORELOG_ID_NAME_DIALOG), owner, nameProcedure,
                  reinterpret_cast<LPARAM>(&state));
  if (!state.accepted) return std::nullopt;
  return utf16Text(state.text);
}

std::optional<std::string> runSaveDialog(HWND owner, std::u16string_view defaultName) {
  std::vector<wchar_t> path(MAX_PATH, L'\0');
  const std::wstring name = wideText(defaultName).substr(0, MAX_PATH - 1);
  std::copy(name.begin(), name.end(), path.begin());
  const std::wstring filter = pngFilter();
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.lpstrTitle = nullptr;  // the system's own title
  // The settings file lives in the working folder: the dialog must not move it elsewhere.
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameW(&dialog)) return std::nullopt;
  return utf16ToUtf8(utf16Text(path.data()));
}

}  // namespace orelog
