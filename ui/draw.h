// The drawing primitives the pages use: sprite copy through the mask, solid fills, panel frame.
#pragma once
#include "ui/canvas.h"
#include "util/geometry.h"

namespace orelog {

// Bitwise OR of the mask, then bitwise AND of the colour: exactly the picture's pixels replace the
// canvas. Clipped at the canvas edges; a region of zero width or height draws nothing.
void drawSprite(Canvas& canvas, const SpriteSheets& sheets, int x, int y, const SpriteRegion& region);
// Fills [left, right) x [top, bottom), clipped.
void fillRect(Canvas& canvas, int left, int top, int right, int bottom, Pixel colour);
// The blue panel stretched to w x h (both at least 10) by tiling its nine pieces, never scaling.
// A smaller frame, or one far beyond any screen, is not drawn.
void drawPanelFrame(Canvas& canvas, const SpriteSheets& sheets, int x, int y, int w, int h);

}  // namespace orelog
