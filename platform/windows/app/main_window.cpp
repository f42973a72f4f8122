// The main window on Win32: class, controls at their places for the DPI, and a window procedure in
// which each message goes to one handler of the app.
#include "main_window.h"

#include <windowsx.h>

#include <functional>
#include <vector>

#include "app/shell.h"
#include "front_end.h"
#include "gdi_text.h"
#include "platform/windows/resource_ids.h"
#include "ui/connect_layout.h"
#include "ui/credits_notice.h"
#include "ui/fonts.h"
#include "wide_text.h"

namespace orelog {

namespace {

constexpr DWORD kWindowStyle = WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kSizingStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;  // what the frame's size depends on
constexpr int kConnectControlId = 1001;  // both combo boxes; nothing addresses them by it
constexpr int kStringCapacity = 100;

COLORREF colourRef(Pixel pixel) {
  return RGB(red(pixel), green(pixel), blue(pixel));
}

WinFrontEnd& frontOf(HWND window) {
  return *reinterpret_cast<WinFrontEnd*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

int screenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

// A canvas coordinate from a device coordinate; rounds towards minus infinity, so a point just
// left of or above the window stays outside it.
int32_t toCanvas(int device, int scale) {
  return device >= 0 ? device / scale : -((-device + scale - 1) / scale);
}

SIZE outerSize(int clientWidth, int clientHeight) {
  RECT rect{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&rect, kSizingStyle, FALSE, 0);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

// The multiple for a dpi on a monitor: the largest at which the game screen's window fits the
// monitor's work area (the screen less the task bar).
int scaleOn(HMONITOR monitor, int dpi) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (GetMonitorInfoW(monitor, &info)) work = info.rcWork;
  const SIZE frame = outerSize(0, 0);
  return canvasScale(dpi, work.right - work.left, work.bottom - work.top, frame.cx, frame.cy);
}

std::wstring loadString(HINSTANCE instance, int id) {
  wchar_t buffer[kStringCapacity] = {};
  LoadStringW(instance, id, buffer, kStringCapacity);
  return buffer;
}

HWND& controlWindow(MainWindow& w, ConnectControl control) {
  switch (control) {
    case ConnectControl::PoolBox:
      return w.poolBox;
    case ConnectControl::ConnectButton:
      return w.connectButton;
    case ConnectControl::ApiKeyBox:
      break;
  }
  return w.keyBox;
}

void placeChild(HWND child, const Rect& rect, int scale) {
  SetWindowPos(child, nullptr, rect.x * scale, rect.y * scale, rect.width * scale, rect.height * scale,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// The fonts and places of the children for the window's scale.
void layOutChildren(MainWindow& w) {
  for (HFONT font : {w.connectFont, w.creditsFont}) {
    if (font != nullptr) DeleteObject(font);
  }
  w.connectFont = createCellFont(installedFace(kConnectFontFaces).c_str(), kConnectFontCellPixels * w.scale);
  w.creditsFont =
      createCellFont(installedFace(kPageFontFaces).c_str(), static_cast<int>(kCreditsBoxFont) * w.scale);
  for (const ConnectControlPlace& place : kConnectControlPlaces) {
    HWND control = controlWindow(w, place.control);
    placeChild(control, place.rect, w.scale);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(w.connectFont), TRUE);
  }
  placeChild(w.creditsBox, kCreditsBoxPlace, w.scale);
  SendMessageW(w.creditsBox, WM_SETFONT, reinterpret_cast<WPARAM>(w.creditsFont), TRUE);
}

HWND createChild(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id) {
  return CreateWindowExW(0, className, text, WS_CHILD | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                         nullptr);
}

// In the order of creation, which is also the tab order: pool box, connect button, API key box.
void createChildren(MainWindow& w) {
  HWND parent = w.window.load();
  for (const ConnectControlPlace& place : kConnectControlPlaces) {
    HWND& control = controlWindow(w, place.control);
    if (place.control == ConnectControl::ConnectButton) {
      control = createChild(parent, L"Button", wideText(kConnectButtonCaption).c_str(),
                            WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, ORELOG_COMMAND_CONNECT);
    } else {
      const DWORD scrolls = place.control == ConnectControl::ApiKeyBox ? CBS_AUTOHSCROLL : 0;
      control = createChild(parent, L"ComboBox", L"",
                            WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | scrolls, kConnectControlId);
    }
  }
  w.creditsBox = createChild(parent, L"Edit", L"",
                             WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0);
  SetWindowTextW(w.creditsBox, wideText(creditsNotice()).c_str());
  layOutChildren(w);
}

// --- Message handlers: each hands its message to the app ---------------------------------------

void paintConnectLabels(MainWindow& w, HDC dc) {
  RECT client{};
  GetClientRect(w.window.load(), &client);
  FillRect(dc, &client, w.background);
  const HGDIOBJ previous = SelectObject(dc, w.connectFont);
  SetBkColor(dc, colourRef(kConnectBackground));
  SetBkMode(dc, OPAQUE);
  SetTextColor(dc, colourRef(kConnectLabelColour));
  for (const ConnectLabel& label : kConnectLabels) {
    RECT box{label.box.x * w.scale, label.box.y * w.scale, (label.box.x + label.box.width) * w.scale,
             (label.box.y + label.box.height) * w.scale};
    const std::wstring text = wideText(label.text);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, DT_LEFT | DT_TOP);
  }
  SelectObject(dc, previous);
}

// The canvas in one copy, each canvas pixel a square of scale x scale device pixels.
void paintCanvas(MainWindow& w, HDC dc) {
  const DibSurface& canvas = *w.canvas;
  if (w.scale == 1) {
    BitBlt(dc, 0, 0, canvas.width(), canvas.height(), canvas.dc(), 0, 0, SRCCOPY);
    return;
  }
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, 0, 0, canvas.width() * w.scale, canvas.height() * w.scale, canvas.dc(), 0, 0, canvas.width(),
             canvas.height(), SRCCOPY);
}

void onPaint(WinFrontEnd& front, HWND window) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(window, &paint);
  handleMessage([&] {
    if (front.app->mode != ScreenMode::Game) return paintConnectLabels(front.window, dc);
    paintGameScreen(*front.app, front.platform);
    paintCanvas(front.window, dc);
  });
  EndPaint(window, &paint);
}

// The core's command for a WM_COMMAND id.
Command commandOfId(WORD id) {
  switch (id) {
    case ORELOG_COMMAND_ABOUT: return Command::About;
    case ORELOG_COMMAND_EXIT: return Command::Exit;
    case ORELOG_COMMAND_CONNECT: return Command::Connect;
    default: return Command::None;
  }
}

LRESULT onCommand(WinFrontEnd& front, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (commandOfId(LOWORD(wParam))) {
    case Command::About:
      handleMessage([&] { aboutCommand(front.platform); });
      return 0;
    case Command::Exit:
      DestroyWindow(window);
      return 0;
    case Command::Connect:
      handleMessage([&] { connectCommand(*front.app, front.platform); });
      return 0;
    case Command::None:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void onMouse(WinFrontEnd& front, HWND window, UINT message, LPARAM lParam) {
  const int scale = front.window.scale;
  const int32_t x = toCanvas(GET_X_LPARAM(lParam), scale), y = toCanvas(GET_Y_LPARAM(lParam), scale);
  // A drag that leaves the window still ends with its release.
  if (message == WM_LBUTTONDOWN) SetCapture(window);
  if (message == WM_LBUTTONUP) ReleaseCapture();
  handleMessage([&] {
    if (message == WM_MOUSEMOVE) mouseMove(*front.app, front.platform, x, y);
    if (message == WM_LBUTTONDOWN) mouseDown(*front.app, front.platform, x, y);
    if (message == WM_LBUTTONUP) mouseUp(*front.app, front.platform);
  });
}

void runPostedTask(LPARAM lParam) {
  std::unique_ptr<std::function<void()>> task(reinterpret_cast<std::function<void()>*>(lParam));
  handleMessage([&] { (*task)(); });
}

// The dpi changed, or the window moved to a monitor of another dpi: the same picture at that
// monitor's whole multiple, the window's top-left corner where it was. The rectangle the system
// suggests is not needed for that, so it is not read.
void onDpiChanged(WinFrontEnd& front, HWND window, WPARAM wParam) {
  MainWindow& w = front.window;
  w.scale = scaleOn(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), LOWORD(wParam));
  layOutChildren(w);
  RECT place{};
  GetWindowRect(window, &place);
  const SIZE outer = outerSize(w.clientWidth * w.scale, w.clientHeight * w.scale);
  SetWindowPos(window, nullptr, place.left, place.top, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(window, nullptr, FALSE);
}

// The session ends (log off, shut down): the process goes once this returns, so the end's save runs now.
void onEndSession(WinFrontEnd& front, WPARAM ending) {
  if (!ending || front.shutDownDone) return;
  front.shutDownDone = true;
  handleMessage([&] { shutDown(*front.app, front.platform); });
}

// The window's first message brings the front end that CreateWindowExW was given; the window
// keeps it for every later message.
void attachFrontEnd(HWND window, LPARAM createParams) {
  auto* front = static_cast<WinFrontEnd*>(reinterpret_cast<CREATESTRUCTW*>(createParams)->lpCreateParams);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(front));
  front->window.window = window;
}

void onDestroy(WinFrontEnd& front) {
  front.platform.removeNoticeIcon();
  front.window.window = nullptr;
  PostQuitMessage(0);
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) attachFrontEnd(window, lParam);
  if (GetWindowLongPtrW(window, GWLP_USERDATA) == 0) return DefWindowProcW(window, message, wParam, lParam);
  WinFrontEnd& front = frontOf(window);
  switch (message) {
    case WM_DESTROY:
      onDestroy(front);
      return 0;
    case WM_PAINT:
      onPaint(front, window);
      return 0;
    case WM_COMMAND:
      return onCommand(front, window, message, wParam, lParam);
    case WM_TIMER:
      handleMessage([&] { timerEvent(*front.app, front.platform, static_cast<int>(wParam)); });
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      onMouse(front, window, message, lParam);
      return 0;
    case WM_SETCURSOR:
      if (!front.window.busy || LOWORD(lParam) != HTCLIENT) break;
      SetCursor(LoadCursorW(nullptr, IDC_WAIT));
      return TRUE;
    case DM_GETDEFID:
      return MAKELRESULT(ORELOG_COMMAND_CONNECT, DC_HASDEFID);  // Enter in a field presses connect
    case kRunTaskMessage:
      runPostedTask(lParam);
      return 0;
    case WM_DPICHANGED:
      onDpiChanged(front, window, wParam);
      return 0;
    case WM_ENDSESSION:
      onEndSession(front, wParam);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool registerClass(HINSTANCE instance, const std::wstring& className, HBRUSH background) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = windowProcedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(ORELOG_ID_ICON));
  windowClass.hIconSm = LoadIconW(instance, MAKEINTRESOURCEW(ORELOG_ID_SMALL_ICON));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = background;
  windowClass.lpszClassName = className.c_str();
  return RegisterClassExW(&windowClass) != 0;
}

}  // namespace

MainWindow::~MainWindow() {
  for (HFONT font : {connectFont, creditsFont}) {
    if (font != nullptr) DeleteObject(font);
  }
  if (background != nullptr) DeleteObject(background);
}

bool createMainWindow(WinFrontEnd& front, HINSTANCE instance) {
  MainWindow& w = front.window;
  w.scale = scaleOn(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), screenDpi());
  w.canvas = DibSurface::create(kCanvasWidth, kCanvasHeight);
  if (!w.canvas) return false;
  front.app->canvas = w.canvas->canvas();
  front.platform.drawTextInto(w.canvas.get());
  w.background = CreateSolidBrush(colourRef(kConnectBackground));
  const std::wstring className = loadString(instance, ORELOG_ID_CLASS_STRING);
  const std::wstring title = loadString(instance, ORELOG_ID_TITLE_STRING);
  registerClass(instance, className, w.background);

  w.clientWidth = kConnectClientWidth;
  w.clientHeight = kConnectClientHeight;
  const SIZE outer = outerSize(w.clientWidth * w.scale, w.clientHeight * w.scale);
  const WindowPlacement place = initialPlacement(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                                 outer.cx, outer.cy, w.scale);
  if (!CreateWindowExW(0, className.c_str(), title.c_str(), kWindowStyle, place.x, place.y, outer.cx,
                       outer.cy, nullptr, nullptr, instance, &front))
    return false;
  createChildren(w);
  return true;
}

void resizeClientArea(MainWindow& w, int width, int height) {
  w.clientWidth = width;
  w.clientHeight = height;
  const SIZE outer = outerSize(width * w.scale, height * w.scale);
  SetWindowPos(w.window.load(), nullptr, 0, 0, outer.cx, outer.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace orelog
