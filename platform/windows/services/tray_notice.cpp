// The notification-area icon and its balloon, through Shell_NotifyIconW.
#include "tray_notice.h"

#include <shellapi.h>

#include <cstddef>
#include <string>

#include "util/utf.h"

namespace orelog {
namespace {

constexpr UINT kTrayIconId = 1;

// Fills a fixed field of the shell's record, cut so that the terminator fits and no surrogate
// pair is split.
template <std::size_t Size>
void fill(wchar_t (&field)[Size], std::u16string_view text) {
  const std::u16string cut = truncateUtf16(text, Size - 1);
  std::size_t i = 0;
  for (; i < cut.size(); ++i) field[i] = static_cast<wchar_t>(cut[i]);
  field[i] = L'\0';
}

NOTIFYICONDATAW iconRecord(HWND window, HICON icon) {
  NOTIFYICONDATAW record{};
  record.cbSize = sizeof record;
  record.hWnd = window;
  record.uID = kTrayIconId;
  record.hIcon = icon;
  return record;
}

}  // namespace

bool TrayNotice::show(HWND window, HICON icon, std::u16string_view title, std::u16string_view text) {
  if (!added_) {
    NOTIFYICONDATAW record = iconRecord(window, icon);
    record.uFlags = NIF_ICON | NIF_TIP;
    fill(record.szTip, title);
    if (!Shell_NotifyIconW(NIM_ADD, &record)) return false;
    window_ = window;
    added_ = true;
  }
  NOTIFYICONDATAW record = iconRecord(window_, icon);
  record.uFlags = NIF_ICON | NIF_INFO;
  record.dwInfoFlags = NIIF_USER;  // the balloon shows the game's icon beside its title
  fill(record.szInfoTitle, title);
  fill(record.szInfo, text);
  return Shell_NotifyIconW(NIM_MODIFY, &record) != FALSE;
}

void TrayNotice::remove() {
  if (!added_) return;
  NOTIFYICONDATAW record = iconRecord(window_, nullptr);
  Shell_NotifyIconW(NIM_DELETE, &record);
  added_ = false;
  window_ = nullptr;
}

}  // namespace orelog
