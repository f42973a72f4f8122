// The game screen's state at creation, and the animation tick that moves it on.
#include "ui/game_screen.h"

#include <limits>
#include <utility>

#include "ui/log_page.h"
#include "game/mining_power.h"
#include "ui/pages.h"
#include "util/time_units.h"

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

TickView viewOf(const GameScreen& screen, const PlayerRecord& record) {
  TickView view;
  view.page = screen.page;
  view.hoveredCharacter = screen.hoveredCharacter;
  view.figures = shownFigures(record);
  for (const CharacterSlot& slot : screen.slots) {
    // Poses matter only where characters are drawn.
    const uint32_t pose = screen.page == kTopPage ? characterPose(diggingKhs(slot.hashrate), screen.frame) : 0;
    view.workers.push_back({slot.hashrate, slot.displayName, pose});
  }
  if (screen.page == kStatusPage) view.playSecond = record.playTimeMs / kMsPerSecond;
  return view;
}

}  // namespace

void initGameScreen(GameScreen& screen, const PlayerRecord& record) {
  screen.page = kTopPage;
  screen.frame = 0;
  screen.hoveredCharacter.reset();
  screen.lastTick = {};
  initItemsState(screen.items, record);
  initLogPage(screen.log);
}

bool animationTick(GameScreen& screen, PlayerRecord& record, uint32_t nowTick) {
  screen.frame += 1;
  advancePlayTime(record, nowTick);
  const bool fell = fallStep(record, screen.items);
  const bool flew = flightStep(record, screen.items);
  // Slots are rebuilt every update; a hovered position past the new end shows no worker.
  if (screen.hoveredCharacter && *screen.hoveredCharacter >= screen.slots.size()) {
    screen.hoveredCharacter.reset();
  }
  // Items fall and fly back on the top page only; elsewhere their moves are not seen.
  const bool moved = screen.page == kTopPage && (fell || flew);
  TickView view = viewOf(screen, record);
  const bool changed = moved || view != screen.lastTick;
  screen.lastTick = std::move(view);
  return changed;
}

}  // namespace orelog
