// The worker characters on the top page: frame by tier and phase, coins or ore, the name.
#include <array>

#include "game/mining_power.h"
#include "ui/draw.h"
#include "ui/pages.h"
#include "ui/palette.h"
#include "ui/sprite_regions.h"

namespace orelog {

namespace {

enum class Effect { None, Coins, Ore };

struct Tier {
  int32_t fromHashrate;  // KH/s, inclusive
  SpriteRegion frames[2];
  Effect effect;
};

// Checked from the top; the excavator tier (50000 and more) is handled apart.
constexpr std::array<Tier, 6> kTiers{{
    {25000, {sprites::kRedDrill1, sprites::kRedDrill2}, Effect::Ore},
    {10000, {sprites::kDrill1, sprites::kDrill2}, Effect::Ore},
    {5000, {sprites::kShovel1, sprites::kShovel2}, Effect::Coins},
    {3000, {sprites::kSpade1, sprites::kSpade2}, Effect::Coins},
    {1000, {sprites::kHelmet1, sprites::kHelmet2}, Effect::Coins},
    {1, {sprites::kPick1, sprites::kPick2}, Effect::Coins},
}};
constexpr int32_t kExcavatorFrom = 50000;
// The excavator rocks back and forth: 1, 3, 2.
constexpr std::array<SpriteRegion, 3> kExcavatorCycle{sprites::kExcavator1, sprites::kExcavator3,
                                                      sprites::kExcavator2};

constexpr int32_t kFrameBaseline = 40;  // every frame stands on y + 40
constexpr int32_t kNameOffsetX = 15;
constexpr int32_t kNameRaise = 3;
constexpr int32_t kExcavatorNameRaise = 8;
// A name keeps this much of the cell step clear of its neighbours' names.
constexpr int32_t kNameSpacing = 4;
constexpr int32_t kNameRoom = kCharacterCellStepX - kNameSpacing;

struct Phases {
  int p2, p3, p4;
};

Phases phasesOf(uint64_t frame) {
  return {static_cast<int>(frame / 6 % 2), static_cast<int>(frame / 4 % 3), static_cast<int>(frame / 3 % 4)};
}

Effect effectOf(int64_t hashrate) {
  if (hashrate <= 0) return Effect::None;
  if (hashrate >= kExcavatorFrom) return Effect::Coins;
  for (const Tier& tier : kTiers) {
    if (hashrate >= tier.fromHashrate) return tier.effect;
  }
  return Effect::None;
}

struct Offset {
  int32_t dx, dy;
  SpriteRegion region;
};

void drawCoins(PageTools& tools, int32_t x, int32_t y, int p4) {
  constexpr std::array<std::array<SpriteRegion, 2>, 4> kSpin{{
      {sprites::kCoinFront, sprites::kCoinEdge},
      {sprites::kCoinTurning, sprites::kCoinTurningBack},
      {sprites::kCoinEdge, sprites::kCoinFront},
      {sprites::kCoinTurningBack, sprites::kCoinTurning},
  }};
  drawSprite(tools.canvas, tools.sheets, x + 31, y + 15, kSpin[p4][0]);
  drawSprite(tools.canvas, tools.sheets, x + 38, y + 25, kSpin[p4][1]);
}

void drawOre(PageTools& tools, int32_t x, int32_t y, int p2) {
  constexpr std::array<std::array<Offset, 3>, 2> kScatter{{
      {{{-10, 22, sprites::kOreChunk}, {23, 9, sprites::kOreChunk}, {23, 26, sprites::kOrePebble}}},
      {{{-10, 9, sprites::kOrePebble}, {-10, 27, sprites::kOreChunk}, {23, 22, sprites::kOreChunk}}},
  }};
  for (const Offset& piece : kScatter[p2]) {
    drawSprite(tools.canvas, tools.sheets, x + piece.dx, y + piece.dy, piece.region);
  }
}

}  // namespace

SpriteRegion characterFrame(int64_t hashrate, uint64_t frame) {
  const Phases phases = phasesOf(frame);
  if (hashrate >= kExcavatorFrom) return kExcavatorCycle[phases.p3];
  for (const Tier& tier : kTiers) {
    if (hashrate >= tier.fromHashrate) return tier.frames[phases.p2];
  }
  // Only an idle worker (0) stands still; a rig reporting a negative figure swings its pick like
  // any other below 1000.
  return hashrate == 0 ? sprites::kPick1 : kTiers.back().frames[phases.p2];
}

uint32_t characterPose(int64_t hashrate, uint64_t frame) {
  if (hashrate == 0) return 0;  // the one worker that stands still, as characterFrame draws it
  const Phases phases = phasesOf(frame);
  const int framePhase = hashrate >= kExcavatorFrom ? phases.p3 : phases.p2;
  int effectPhase = 0;
  switch (effectOf(hashrate)) {
    case Effect::Coins: effectPhase = phases.p4; break;
    case Effect::Ore: effectPhase = phases.p2; break;
    case Effect::None: break;
  }
  return static_cast<uint32_t>(1 + framePhase * 4 + effectPhase);
}

void drawCharacter(PageTools& tools, const CharacterSlot& slot, uint64_t frame) {
  const int64_t khs = diggingKhs(slot.hashrate);
  const SpriteRegion picture = characterFrame(khs, frame);
  drawSprite(tools.canvas, tools.sheets, slot.x, slot.y - picture.height + kFrameBaseline, picture);
  const Phases phases = phasesOf(frame);
  switch (effectOf(khs)) {
    case Effect::Coins: drawCoins(tools, slot.x, slot.y, phases.p4); break;
    case Effect::Ore: drawOre(tools, slot.x, slot.y, phases.p2); break;
    case Effect::None: break;
  }
  const int32_t raise = khs >= kExcavatorFrom ? kExcavatorNameRaise : kNameRaise;
  const std::u16string name = fittedText(tools.text, slot.displayName, FontSize::Small, kNameRoom);
  drawOutlinedText(tools.text, tools.canvas, name, slot.x + kNameOffsetX, slot.y - raise,
                   FontSize::Small, TextAlign::Centre, palette::kTextWhite, palette::kNameOutline);
}

}  // namespace orelog
