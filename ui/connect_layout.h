// Where the connect screen's controls and painted labels sit in its 520 x 62 client area.
#pragma once
#include <string_view>

#include "ui/connect_screen.h"
#include "ui/palette.h"
#include "util/geometry.h"

namespace orelog {

enum class ConnectControl { PoolBox, ConnectButton, ApiKeyBox };

// A control's rectangle in client pixels. A combo box's height includes its drop-down list;
// closed, it shows a field kConnectFieldHeight pixels high, as high as the button.
struct ConnectControlPlace {
  ConnectControl control;
  Rect rect;
};
inline constexpr int32_t kConnectFieldHeight = 25;

// In the order they are created, which is also their tab order.
inline constexpr ConnectControlPlace kConnectControlPlaces[] = {
    {ConnectControl::PoolBox, {50, 6, 378, 50}},
    {ConnectControl::ConnectButton, {433, 5, 82, kConnectFieldHeight}},
    {ConnectControl::ApiKeyBox, {50, 33, 464, 50}},
};

// The closed control's rectangle: a combo box cut to its field.
constexpr Rect closedControlRect(const ConnectControlPlace& place) {
  return {place.rect.x, place.rect.y, place.rect.width, kConnectFieldHeight};
}

// The labels are painted on the window in the connect font, black on the window background, each
// anchored at its box's top-left corner and clipped to the box.
struct ConnectLabel {
  std::u16string_view text;
  Rect box;
};
inline constexpr ConnectLabel kConnectLabels[] = {
    {kPoolLabel, {12, 9, 88, 51}},
    {kApiKeyLabel, {6, 36, 94, 24}},
};
inline constexpr Pixel kConnectLabelColour = rgb(0, 0, 0);
inline constexpr Pixel kConnectBackground = palette::kWindowBackground;

}  // namespace orelog
