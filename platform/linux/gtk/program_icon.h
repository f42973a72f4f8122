// The program's icon, compiled in, for the main window, the About box and the desktop notices.
#pragma once
#include <gtk/gtk.h>

namespace orelog {

// Makes the icon every window's default; does nothing if it cannot be decoded.
void installProgramIcon();
// The decoded icon, owned by this file for the life of the process; null when there is none.
GdkPixbuf* programIcon();
// A new image widget showing the icon, or null when there is none.
GtkWidget* programIconImage();

}  // namespace orelog
