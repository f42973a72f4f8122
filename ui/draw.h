// The drawing primitives the pages use: sprite copy through the mask, solid fills, panel frame.
#pragma once
#include <span>

#include "ui/canvas.h"
#include "util/geometry.h"

namespace orelog {

// Bitwise OR of the mask, then bitwise AND of the colour: exactly the picture's pixels replace the
// canvas. Clipped at the canvas edges; a region of zero width or height draws nothing.
void drawSprite(Canvas& canvas, const SpriteSheets& sheets, int x, int y, const SpriteRegion& region);
// Fills [left, right) x [top, bottom), clipped.
void fillRect(Canvas& canvas, int left, int top, int right, int bottom, Pixel colour);
// A one-pixel line from (x0, y0) to (x1, y1), both ends included, clipped. It takes a step per pixel
// of its length, on the canvas or off it, so callers keep its ends near the canvas.
void drawLine(Canvas& canvas, int x0, int y0, int x1, int y1, Pixel colour);
// Fills the whole canvas but the holes, which the caller paints over in full.
void fillAround(Canvas& canvas, std::span<const Rect> holes, Pixel colour);
// The blue panel stretched to w x h (both at least 10) by tiling its nine pieces, never scaling.
// A smaller frame, or one far beyond any screen, is not drawn.
void drawPanelFrame(Canvas& canvas, const SpriteSheets& sheets, int x, int y, int w, int h);
// The same frame over a background of one colour not yet painted there: the result is that of
// filling the frame's rectangle with `background` and then drawing the frame, but pixels the
// frame replaces are written once.
void drawPanelFrameOn(Canvas& canvas, const SpriteSheets& sheets, const Rect& frame, Pixel background);

}  // namespace orelog
