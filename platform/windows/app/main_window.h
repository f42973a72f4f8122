// The main window: its class, its child controls at their places for the current DPI, and the
// canvas surface the game screen is composed on.
#pragma once
#include <windows.h>

#include <atomic>
#include <memory>

#include "dib_surface.h"

namespace orelog {

struct WinFrontEnd;

// Posted to the main window with a heap-allocated std::function<void()> in lParam.
inline constexpr UINT kRunTaskMessage = WM_APP + 1;

struct MainWindow {
  std::atomic<HWND> window = nullptr;  // null once the window has been destroyed; any thread reads it
  HWND poolBox = nullptr;
  HWND keyBox = nullptr;
  HWND connectButton = nullptr;
  HWND creditsBox = nullptr;
  HFONT connectFont = nullptr;
  HFONT creditsFont = nullptr;
  HBRUSH background = nullptr;
  int scale = 1;                          // device pixels per canvas pixel, each way
  int clientWidth = 0, clientHeight = 0;  // in canvas pixels
  std::unique_ptr<DibSurface> canvas;
  bool busy = false;

  MainWindow() = default;
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;
};

// Registers the class and creates the window hidden, at its start-up place, with its controls;
// false when the window cannot be made.
bool createMainWindow(WinFrontEnd& front, HINSTANCE instance);

// Gives the window the client size of width x height canvas pixels, keeping its position.
void resizeClientArea(MainWindow& window, int width, int height);

}  // namespace orelog
