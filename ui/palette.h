// The game screen's solid colours and text colours.
#pragma once
#include "ui/canvas.h"

namespace orelog::palette {

inline constexpr Pixel kPageBlue = rgb(80, 141, 255);
inline constexpr Pixel kTopPageGrey = rgb(211, 208, 201);
inline constexpr Pixel kSkyBlue = rgb(85, 169, 255);
inline constexpr Pixel kGroundBrown = rgb(169, 133, 105);
inline constexpr Pixel kCreditsNavy = rgb(40, 80, 127);
inline constexpr Pixel kScrollTrack = rgb(40, 80, 127);
inline constexpr Pixel kScrollButtonGrey = rgb(220, 220, 220);
inline constexpr Pixel kScrollThumbGrey = rgb(180, 180, 180);
inline constexpr Pixel kWindowBackground = rgb(243, 243, 243);

inline constexpr Pixel kTextWhite = rgb(255, 255, 255);
inline constexpr Pixel kPriceGrey = rgb(127, 127, 127);
// The rim around the workers' white names, which stand on the pale sky.
inline constexpr Pixel kNameOutline = rgb(24, 48, 96);

}  // namespace orelog::palette
