// The program's icon, compiled in, for the main window and the About box.
#pragma once
#include <gtk/gtk.h>

namespace orelog {

// Makes the icon every window's default; does nothing if it cannot be decoded.
void installProgramIcon();
// A new image widget showing the icon, or null when there is none.
GtkWidget* programIconImage();

}  // namespace orelog
