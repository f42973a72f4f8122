// Desktop notices through the freedesktop notification service on the session bus.
#pragma once
#include <string_view>

namespace orelog {

// Asks the notification service to show the notice with the program's icon and returns at once:
// the bus is reached and the call answered in the background of the GLib main loop. Without a
// session bus, or without a service on it, nothing is shown and nothing is written.
void showDesktopNotice(std::u16string_view title, std::u16string_view text);

}  // namespace orelog
