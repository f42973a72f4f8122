// Where every picture lies on the two sprite sheets (the same rectangle on both).
#pragma once
#include "util/geometry.h"

namespace orelog::sprites {

inline constexpr int kSheetSize = 1024;

// Banners, buttons and scenery.
inline constexpr SpriteRegion kTitleBanner{416, 448, 232, 38};
inline constexpr SpriteRegion kStatusBanner{0, 320, 410, 38};
inline constexpr SpriteRegion kItemBanner{0, 384, 410, 38};
inline constexpr SpriteRegion kShopBanner{0, 448, 410, 38};
inline constexpr SpriteRegion kFriendBanner{0, 512, 410, 38};
inline constexpr SpriteRegion kLogBanner{0, 576, 410, 38};
inline constexpr SpriteRegion kShareIcon{128, 160, 32, 30};
inline constexpr SpriteRegion kScreenshotIcon{160, 160, 32, 30};
inline constexpr SpriteRegion kBluePanel{512, 192, 106, 54};
inline constexpr SpriteRegion kBgmLabel{64, 224, 40, 17};
inline constexpr SpriteRegion kSeLabel{64, 192, 40, 17};
inline constexpr SpriteRegion kCloud{224, 160, 34, 10};
inline constexpr SpriteRegion kShelf{700, 0, 324, 59};
inline constexpr SpriteRegion kAvatar{0, 96, 32, 32};

// The nine pieces of the panel frame, all inside the blue panel.
inline constexpr SpriteRegion kFrameTopLeft{512, 192, 5, 5};
inline constexpr SpriteRegion kFrameTopRight{613, 192, 5, 5};
inline constexpr SpriteRegion kFrameBottomRight{613, 241, 5, 5};
inline constexpr SpriteRegion kFrameBottomLeft{512, 241, 5, 5};
inline constexpr SpriteRegion kFrameTop{517, 192, 32, 5};
inline constexpr SpriteRegion kFrameRight{613, 197, 5, 32};
inline constexpr SpriteRegion kFrameBottom{517, 241, 32, 5};
inline constexpr SpriteRegion kFrameLeft{512, 197, 5, 32};
inline constexpr SpriteRegion kFrameCentre{517, 197, 32, 32};

// Worker character frames; the second drill frames start one row lower on the sheet.
inline constexpr SpriteRegion kPick1{0, 0, 32, 32};
inline constexpr SpriteRegion kPick2{32, 0, 32, 32};
inline constexpr SpriteRegion kHelmet1{64, 0, 32, 32};
inline constexpr SpriteRegion kHelmet2{96, 0, 32, 32};
inline constexpr SpriteRegion kSpade1{128, 0, 32, 32};
inline constexpr SpriteRegion kSpade2{160, 0, 32, 32};
inline constexpr SpriteRegion kShovel1{192, 0, 32, 32};
inline constexpr SpriteRegion kShovel2{224, 0, 32, 32};
inline constexpr SpriteRegion kDrill1{256, 0, 32, 32};
inline constexpr SpriteRegion kDrill2{288, 1, 32, 32};
inline constexpr SpriteRegion kRedDrill1{320, 0, 32, 32};
inline constexpr SpriteRegion kRedDrill2{352, 1, 32, 32};
inline constexpr SpriteRegion kExcavator1{384, 16, 48, 48};
inline constexpr SpriteRegion kExcavator2{448, 16, 48, 48};
inline constexpr SpriteRegion kExcavator3{512, 16, 48, 48};

// Effects.
inline constexpr SpriteRegion kCoinFront{225, 97, 9, 9};
inline constexpr SpriteRegion kCoinTurning{240, 96, 9, 9};
inline constexpr SpriteRegion kCoinEdge{224, 112, 9, 9};
inline constexpr SpriteRegion kCoinTurningBack{241, 111, 9, 9};
inline constexpr SpriteRegion kOreChunk{160, 103, 9, 9};
inline constexpr SpriteRegion kOrePebble{165, 94, 9, 9};

// Item pictures are listed with the item catalogue (profile/catalogue.h).

struct NamedRegion {
  const char* name;
  SpriteRegion region;
};

// Every named region above, for the contact sheet and the sheet checks.
inline constexpr NamedRegion kNamedRegions[] = {
    {"title banner", kTitleBanner}, {"status banner", kStatusBanner}, {"item banner", kItemBanner},
    {"shop banner", kShopBanner}, {"friend banner", kFriendBanner}, {"log banner", kLogBanner}, {"share icon", kShareIcon},
    {"screenshot icon", kScreenshotIcon}, {"blue panel", kBluePanel}, {"BGM label", kBgmLabel},
    {"SE label", kSeLabel}, {"cloud", kCloud}, {"shelf", kShelf}, {"avatar", kAvatar},
    {"pick 1", kPick1}, {"pick 2", kPick2}, {"helmet 1", kHelmet1}, {"helmet 2", kHelmet2},
    {"spade 1", kSpade1}, {"spade 2", kSpade2}, {"shovel 1", kShovel1}, {"shovel 2", kShovel2},
    {"drill 1", kDrill1}, {"drill 2", kDrill2}, {"red drill 1", kRedDrill1}, {"red drill 2", kRedDrill2},
    {"excavator 1", kExcavator1}, {"excavator 2", kExcavator2}, {"excavator 3", kExcavator3},
    {"coin front", kCoinFront}, {"coin turning", kCoinTurning}, {"coin edge", kCoinEdge},
    {"coin turning back", kCoinTurningBack}, {"ore chunk", kOreChunk}, {"ore pebble", kOrePebble},
};

}  // namespace orelog::sprites
