// The modal boxes and dialogs of the program; each runs a nested loop in which timers keep firing.
#pragma once
#include <gtk/gtk.h>

#include <optional>
#include <string>
#include <string_view>

namespace orelog {

// One sentence with the message caption and an OK button; owner may be null.
void runMessageBox(GtkWindow* owner, std::string_view utf8Text);
void runAboutBox(GtkWindow* owner);
// The name dialog: nullopt when cancelled or closed.
std::optional<std::string> runNameDialog(GtkWindow* owner, std::string_view currentUtf8);
// The save chooser for a PNG picture; the chosen file name as the file system spells it.
std::optional<std::string> runSaveDialog(GtkWindow* owner, std::string_view defaultNameUtf8);

}  // namespace orelog
