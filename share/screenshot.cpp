// Saving the canvas as a PNG file at a place the player chooses.
#include "share/screenshot.h"

#include <cstdio>

#include "util/utf.h"

namespace orelog {

std::u16string screenshotFileName(const DateTime& time) {
  // Room for any int fields, so an odd clock can only make the name longer, never overflow it.
  char name[96];
  std::snprintf(name, sizeof name, "Orelog%04d%02d%02d%02d%02d%02d.png", time.year, time.month, time.day,
                time.hour, time.minute, time.second);
  return asciiText(name);
}

bool saveScreenshot(Platform& platform, const Canvas& canvas) {
  const auto path = platform.askSavePath(screenshotFileName(platform.localTime().local));
  if (!path) return true;
  return platform.encodePng(canvas, *path);
}

}  // namespace orelog
