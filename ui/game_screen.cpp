// The game screen's state at creation, and the animation tick that moves it on.
#include "ui/game_screen.h"

#include <limits>

namespace orelog {

namespace {

// The tick counter wraps every 2^32 ms (about 49.7 days); the unsigned difference survives it.
void advancePlayTime(PlayerRecord& record, uint32_t nowTick) {
  const uint32_t elapsed = nowTick - record.lastTick;
  constexpr int64_t kLongest = std::numeric_limits<int64_t>::max();
  // A play time read from a file may already be near the limit; it stops there.
  const bool overflows = record.playTimeMs > kLongest - int64_t{elapsed};
  record.playTimeMs = overflows ? kLongest : record.playTimeMs + elapsed;
  record.lastTick = nowTick;
}

}  // namespace

void initGameScreen(GameScreen& screen, const PlayerRecord& record) {
  screen.page = kTopPage;
  screen.frame = 0;
  screen.hoveredCharacter.reset();
  initItemsState(screen.items, record);
}

void animationTick(GameScreen& screen, PlayerRecord& record, uint32_t nowTick) {
  screen.frame += 1;
  advancePlayTime(record, nowTick);
  fallStep(record, screen.items);
  flightStep(record, screen.items);
  // Slots are rebuilt every update; a hovered position past the new end shows no worker.
  if (screen.hoveredCharacter && *screen.hoveredCharacter >= screen.slots.size()) {
    screen.hoveredCharacter.reset();
  }
}

}  // namespace orelog
