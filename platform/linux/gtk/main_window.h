// The main window's widgets, built once: the client area, the connect controls, the credits box.
#pragma once
#include <gtk/gtk.h>

namespace orelog {

struct GtkFrontEnd;

struct MainWindow {
  GtkWidget* window = nullptr;  // null once the window has been destroyed
  GtkWidget* area = nullptr;    // the whole client area: connect labels, later the game canvas
  GtkWidget* poolBox = nullptr;
  GtkWidget* keyBox = nullptr;
  GtkWidget* connectButton = nullptr;
  GtkWidget* creditsBox = nullptr;  // scrolled window around the licence notice
};

// Builds the window hidden, with every signal handed to the front end.
void buildMainWindow(GtkFrontEnd& front);

// The text entry inside one of the editable combo boxes.
GtkEntry* comboEntry(GtkWidget* combo);

}  // namespace orelog
