// The modal boxes and dialogs on GTK 3: error messages, About, the name dialog, the PNG chooser.
#include "dialogs.h"

#include <algorithm>

#include "app/dialogs.h"
#include "program_icon.h"
#include "util/utf.h"

namespace orelog {

namespace {

// GTK's own spacing and field width; the texts and the name limit come from the app.
constexpr int kNameEntryWidthChars = 30;
constexpr int kDialogSpacing = 8;
// The save chooser's buttons carry GTK's own labels in GTK's translation, so they speak the same
// language as the rest of the chooser.
constexpr const char* kGtkDomain = "gtk30";
// GTK's file chooser asks for more room than a small screen has; it gets at most this share of the
// monitor's work area in each direction.
constexpr double kChooserScreenShare = 0.8;

std::string utf8(std::u16string_view text) {
  return utf16ToUtf8(text);
}

int runAndDestroy(GtkWidget* dialog) {
  const int response = gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
  return response;
}

GtkWidget* boxWithBorder(GtkOrientation orientation) {
  GtkWidget* box = gtk_box_new(orientation, kDialogSpacing);
  gtk_container_set_border_width(GTK_CONTAINER(box), kDialogSpacing);
  return box;
}

// The player can copy the message, e.g. to ask the pool's operator about it.
void makeMessageSelectable(GtkMessageDialog* dialog) {
  GList* children = gtk_container_get_children(GTK_CONTAINER(gtk_message_dialog_get_message_area(dialog)));
  for (GList* child = children; child; child = child->next) {
    if (GTK_IS_LABEL(child->data)) gtk_label_set_selectable(GTK_LABEL(child->data), TRUE);
  }
  g_list_free(children);
}

// Typing or pasting into the name stops where the app's limit says.
void onNameInsertText(GtkEditable* editable, const gchar* text, gint length, gint* position, gpointer) {
  const std::u16string current = utf8ToUtf16(gtk_entry_get_text(GTK_ENTRY(editable)));
  const std::u16string inserted =
      utf8ToUtf16(length < 0 ? std::string_view(text) : std::string_view(text, length));
  const std::u16string fittingUnits = fittingNameInsertion(current, inserted);
  if (fittingUnits.size() == inserted.size()) return;
  const std::string fitting = utf16ToUtf8(fittingUnits);
  g_signal_stop_emission_by_name(editable, "insert-text");
  if (fitting.empty()) return gtk_widget_error_bell(GTK_WIDGET(editable));
  // Inserting again runs this handler once more, and then the text fits.
  gtk_editable_insert_text(editable, fitting.c_str(), static_cast<gint>(fitting.size()), position);
}

GdkMonitor* monitorOf(GtkWindow* window) {
  GdkDisplay* display = gdk_display_get_default();
  GtkWindow* parent = gtk_window_get_transient_for(window);
  GdkWindow* placed = gtk_widget_get_window(GTK_WIDGET(parent ? parent : window));
  if (placed) return gdk_display_get_monitor_at_window(display, placed);
  GdkMonitor* primary = gdk_display_get_primary_monitor(display);
  return primary ? primary : gdk_display_get_monitor(display, 0);
}

// Centred over the owner (or the work area), and kept inside the work area.
int centredStart(int ownerStart, int ownerLength, int length, int areaStart, int areaLength) {
  const int centred = ownerStart + (ownerLength - length) / 2;
  return std::clamp(centred, areaStart, std::max(areaStart, areaStart + areaLength - length));
}

// The chooser sizes itself from its font when it is mapped, to more than a small screen holds;
// it is then shrunk and placed anew.
void fitIntoWorkArea(GtkWidget* dialog, gpointer) {
  GtkWindow* window = GTK_WINDOW(dialog);
  GdkMonitor* monitor = monitorOf(window);
  if (!monitor) return;
  GdkRectangle area{};
  gdk_monitor_get_workarea(monitor, &area);
  int width = 0, height = 0;
  gtk_window_get_size(window, &width, &height);
  const int maxWidth = static_cast<int>(area.width * kChooserScreenShare);
  const int maxHeight = static_cast<int>(area.height * kChooserScreenShare);
  if (width <= maxWidth && height <= maxHeight) return;
  width = std::min(width, maxWidth);
  height = std::min(height, maxHeight);
  gtk_window_resize(window, width, height);
  GdkRectangle owner = area;
  if (GtkWindow* parent = gtk_window_get_transient_for(window)) {
    gtk_window_get_position(parent, &owner.x, &owner.y);
    gtk_window_get_size(parent, &owner.width, &owner.height);
  }
  gtk_window_move(window, centredStart(owner.x, owner.width, width, area.x, area.width),
                  centredStart(owner.y, owner.height, height, area.y, area.height));
}

}  // namespace

void runMessageBox(GtkWindow* owner, std::string_view utf8Text) {
  const std::string text(utf8Text);
  GtkWidget* dialog =
      gtk_message_dialog_new(owner, GTK_DIALOG_MODAL, GTK_MESSAGE_OTHER, GTK_BUTTONS_OK, "%s", text.c_str());
  gtk_window_set_title(GTK_WINDOW(dialog), utf8(kMessageCaption).c_str());
  gtk_window_set_resizable(GTK_WINDOW(dialog), FALSE);  // nor can it be maximised
  gtk_window_set_position(GTK_WINDOW(dialog), owner ? GTK_WIN_POS_CENTER_ON_PARENT : GTK_WIN_POS_CENTER);
  makeMessageSelectable(GTK_MESSAGE_DIALOG(dialog));
  // Focus starts on OK, so Enter closes the box and the text is not shown selected.
  gtk_widget_grab_focus(gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK));
  runAndDestroy(dialog);
}

void runAboutBox(GtkWindow* owner) {
  GtkWidget* dialog = gtk_dialog_new_with_buttons(utf8(kAboutCaption).c_str(), owner, GTK_DIALOG_MODAL,
                                                  utf8(kOkButton).c_str(), GTK_RESPONSE_OK, nullptr);
  gtk_window_set_resizable(GTK_WINDOW(dialog), FALSE);
  gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
  GtkWidget* row = boxWithBorder(GTK_ORIENTATION_HORIZONTAL);
  if (GtkWidget* icon = programIconImage()) gtk_box_pack_start(GTK_BOX(row), icon, FALSE, FALSE, 0);
  GtkWidget* lines = gtk_box_new(GTK_ORIENTATION_VERTICAL, kDialogSpacing / 2);
  for (std::u16string_view line : {kAboutVersionLine, kAboutSecondLine}) {
    GtkWidget* label = gtk_label_new(utf8(line).c_str());
    gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
    gtk_box_pack_start(GTK_BOX(lines), label, FALSE, FALSE, 0);
  }
  gtk_box_pack_start(GTK_BOX(row), lines, TRUE, TRUE, 0);
  gtk_container_add(GTK_CONTAINER(gtk_dialog_get_content_area(GTK_DIALOG(dialog))), row);
  gtk_widget_show_all(row);
  runAndDestroy(dialog);
}

std::optional<std::string> runNameDialog(GtkWindow* owner, std::string_view currentUtf8) {
  GtkWidget* dialog = gtk_dialog_new_with_buttons(utf8(kNameCaption).c_str(), owner, GTK_DIALOG_MODAL,
                                                  utf8(kNameButton).c_str(), GTK_RESPONSE_OK, nullptr);
  gtk_window_set_resizable(GTK_WINDOW(dialog), FALSE);
  gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER_ON_PARENT);
  gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
  GtkWidget* row = boxWithBorder(GTK_ORIENTATION_HORIZONTAL);
  GtkWidget* entry = gtk_entry_new();
  g_signal_connect(entry, "insert-text", G_CALLBACK(onNameInsertText), nullptr);
  gtk_entry_set_width_chars(GTK_ENTRY(entry), kNameEntryWidthChars);
  gtk_entry_set_activates_default(GTK_ENTRY(entry), TRUE);
  gtk_entry_set_text(GTK_ENTRY(entry), std::string(currentUtf8).c_str());
  gtk_box_pack_start(GTK_BOX(row), gtk_label_new(utf8(kNameLabel).c_str()), FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(row), entry, TRUE, TRUE, 0);
  GtkWidget* content = gtk_dialog_get_content_area(GTK_DIALOG(dialog));
  gtk_container_add(GTK_CONTAINER(content), row);
  GtkWidget* note = gtk_label_new(utf8(kNameLimitNote).c_str());
  gtk_label_set_xalign(GTK_LABEL(note), 0);
  gtk_widget_set_margin_start(note, kDialogSpacing);
  gtk_container_add(GTK_CONTAINER(content), note);
  gtk_widget_show_all(content);
  gtk_widget_grab_focus(entry);

  std::optional<std::string> name;
  if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_OK) name = gtk_entry_get_text(GTK_ENTRY(entry));
  gtk_widget_destroy(dialog);
  return name;
}

std::optional<std::string> runSaveDialog(GtkWindow* owner, std::string_view defaultNameUtf8) {
  GtkWidget* dialog = gtk_file_chooser_dialog_new(
      utf8(kSaveDialogTitle).c_str(), owner, GTK_FILE_CHOOSER_ACTION_SAVE, g_dgettext(kGtkDomain, "_Cancel"),
      GTK_RESPONSE_CANCEL, g_dgettext(kGtkDomain, "_Save"), GTK_RESPONSE_ACCEPT, nullptr);
  GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
  g_signal_connect_after(dialog, "map", G_CALLBACK(fitIntoWorkArea), nullptr);
  gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER_ON_PARENT);
  gtk_file_chooser_set_do_overwrite_confirmation(chooser, TRUE);
  gtk_file_chooser_set_current_name(chooser, std::string(defaultNameUtf8).c_str());
  GtkFileFilter* filter = gtk_file_filter_new();
  gtk_file_filter_set_name(filter, utf8(kPngFilterName).c_str());
  gtk_file_filter_add_pattern(filter, utf8(kPngFilterPattern).c_str());
  gtk_file_chooser_add_filter(chooser, filter);  // the chooser takes the filter's reference

  std::optional<std::string> path;
  if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
    if (gchar* chosen = gtk_file_chooser_get_filename(chooser)) {
      path = chosen;
      g_free(chosen);
    }
  }
  gtk_widget_destroy(dialog);
  return path;
}

}  // namespace orelog
