// The notification-area icon whose balloon shows the desktop notices.
#pragma once
#include <windows.h>

#include <string_view>

namespace orelog {

class TrayNotice {
 public:
  TrayNotice() = default;
  ~TrayNotice() { remove(); }
  TrayNotice(const TrayNotice&) = delete;
  TrayNotice& operator=(const TrayNotice&) = delete;

  // Adds the icon for window at the first notice, then shows the notice in its balloon; the shell
  // cuts nothing, the fields are filled to their sizes. False when the shell refused either step.
  bool show(HWND window, HICON icon, std::u16string_view title, std::u16string_view text);
  // Takes the icon away again while its window still exists; does nothing when none was added.
  void remove();

 private:
  HWND window_ = nullptr;
  bool added_ = false;
};

}  // namespace orelog
