// The program's spine as plain functions a front end calls: start-up, paint, timers, commands,
// mouse, and the end.
#pragma once
#include <cstdint>

#include "app/app_state.h"
#include "platform/platform.h"

namespace orelog {

inline constexpr int kAnimationTimerId = 0;
inline constexpr int kUpdateTimerId = 1;
inline constexpr uint32_t kAnimationIntervalMs = 83;
inline constexpr uint32_t kUpdateIntervalMs = 150000;
inline constexpr int kCommandAbout = 104;
inline constexpr int kCommandExit = 105;
inline constexpr int kCommandConnect = 1003;
inline constexpr int kConnectClientWidth = 520;
inline constexpr int kConnectClientHeight = 62;
inline constexpr int kGameClientWidth = 520;
inline constexpr int kGameClientHeight = 300;

}  // namespace orelog
