// Mouse input on the game screen: clicks, moves and releases routed by page.
#pragma once
#include <cstdint>

#include "app/app_state.h"
#include "services/platform.h"

namespace orelog {

void clickGameScreen(AppState& app, Platform& platform, int32_t x, int32_t y);
void hoverGameScreen(AppState& app, Platform& platform, int32_t x, int32_t y);
void releaseGameScreen(AppState& app, Platform& platform);

}  // namespace orelog
