// orelog.exe: the game on Win32, one user-interface thread and its message loop.
// The other system headers need <windows.h> first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
// clang-format on

#include <string>
#include <string_view>
#include <vector>

#include "app/shell.h"
#include "dialogs.h"
#include "ui/sheet_decoding.h"
#include "front_end.h"
#include "platform/windows/resource_ids.h"
#include "png_codec.h"
#include "util/version.h"
#include "wide_text.h"

namespace orelog {

namespace {

// Tab moves between the connect controls and Enter presses connect, as in a dialog.
bool connectScreenTakes(WinFrontEnd& front, MSG& message) {
  HWND window = front.window.window.load();
  return window != nullptr && front.app->mode == ScreenMode::Connect && IsDialogMessageW(window, &message);
}

// Until the quit message. The accelerators reach the main window wherever the focus is.
int runMessageLoop(WinFrontEnd& front, HACCEL accelerators) {
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    HWND window = front.window.window.load();
    if (window != nullptr && TranslateAcceleratorW(window, accelerators, &message)) continue;
    if (connectScreenTakes(front, message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

// Tasks posted by the pool thread after the window went are dropped unrun.
void dropPostedTasks() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, kRunTaskMessage, kRunTaskMessage, PM_REMOVE)) {
    delete reinterpret_cast<std::function<void()>*>(message.lParam);
  }
}

// The program's arguments in UTF-8, without its own name.
std::vector<std::string> commandLineArgs() {
  int count = 0;
  wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; words != nullptr && i < count; ++i) args.push_back(utf16ToUtf8(utf16Text(words[i])));
  LocalFree(words);
  return args;
}

// The game is a GUI program without a console of its own: the version line goes to the standard
// output it inherited (a pipe or a file when redirected), or else to the console of the command
// prompt that started it. The exit code: 0, or 1 when there is nowhere to write.
int printVersionFromGuiProgram() {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if ((out == nullptr || out == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS)) {
    out = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                      nullptr);
  }
  if (out == nullptr || out == INVALID_HANDLE_VALUE) return 1;
  const std::string line = std::string(kVersionLine) + "\r\n";
  DWORD written = 0;
  const bool done = WriteFile(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
                    written == line.size();
  return done ? 0 : 1;
}

int run(HINSTANCE instance, int showCommand, const CommandLine& commandLine) {
  WinFrontEnd front;
  front.app->requestedUpdateIntervalMs = commandLine.updateIntervalMs;
  front.platform.showCommand = showCommand;
  startGdiplus();
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  if (!createMainWindow(front, instance)) return 0;
  if (!startUp(*front.app, front.platform, loadEmbeddedSheets)) return 0;
  const HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(ORELOG_ID_ACCELERATORS));
  const int code = front.window.window.load() != nullptr ? runMessageLoop(front, accelerators) : 0;
  dropPostedTasks();
  if (!front.shutDownDone) shutDown(*front.app, front.platform);
  return code;
}

}  // namespace

}  // namespace orelog

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  try {
    const auto args = orelog::commandLineArgs();
    if (orelog::asksForVersion(args)) return orelog::printVersionFromGuiProgram();
    const auto commandLine = orelog::readCommandLine(args);
    if (!commandLine) {
      orelog::showErrorBox(nullptr, orelog::utf8ToUtf16(orelog::kCommandLineUsage));
      return 2;
    }
    return orelog::run(instance, showCommand, *commandLine);
  } catch (...) {
    return 1;  // only running out of memory while starting gets here
  }
}
