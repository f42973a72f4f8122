// The main window on GTK 3: its widgets at their places, and one handler for each of its events.
#include "main_window.h"

#include <cmath>
#include <string>

#include "app/accelerators.h"
#include "app/shell.h"
#include "font_families.h"
#include "front_end.h"
#include "program_icon.h"
#include "ui/connect_layout.h"
#include "ui/credits_notice.h"
#include "ui/fonts.h"
#include "util/utf.h"

namespace orelog {

namespace {

constexpr guint kLeftButton = 1;
// The text stands off the box's left and right borders as in a Windows edit box.
constexpr int kCreditsTextMargin = 4;

// GTK's default paddings do not fit two combo boxes into 62 pixels; these do. The controls use the
// connect screen's face at its em, the notice box the pages' medium face. Every rule names the
// main window, so dialogs and message boxes keep GTK's own metrics.
constexpr const char* kMainWindowName = "orelog-main";
constexpr const char* kCreditsBoxName = "credits-box";

std::string styleSheet() {
  const std::string window = std::string("#") + kMainWindowName;
  const std::string creditsBox = window + " #" + kCreditsBoxName;
  return window + " entry, " + window + " button, " + window + " combobox button" +
         " { min-height: 0; padding-top: 1px; padding-bottom: 1px; margin: 0; }\n" +  //
         window + " * { font-family: \"" + connectFontFamily() +
         "\"; font-size: " + std::to_string(kConnectFontEmPixels) + "px; }\n" +  //
         creditsBox + ", " + creditsBox + " * { font-family: \"" + pageFontFamily() +
         "\"; font-size: " + std::to_string(static_cast<int>(kCreditsBoxFont)) + "px; }\n";
}

void applyStyleSheet() {
  GtkCssProvider* provider = gtk_css_provider_new();
  const std::string css = styleSheet();
  gtk_css_provider_load_from_data(provider, css.c_str(), -1, nullptr);
  gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(provider),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(provider);
}

void putAt(GtkWidget* fixed, GtkWidget* child, const Rect& place) {
  gtk_widget_set_size_request(child, place.width, place.height);
  gtk_fixed_put(GTK_FIXED(fixed), child, place.x, place.y);
}

// The licence notice comes with CR LF line ends, as a Windows edit box wants them.
std::string noticeText() {
  std::string text = utf16ToUtf8(creditsNotice());
  std::string lines;
  for (char c : text) {
    if (c != '\r') lines += c;
  }
  return lines;
}

GtkWidget* makeCreditsBox() {
  GtkWidget* view = gtk_text_view_new();
  gtk_text_view_set_editable(GTK_TEXT_VIEW(view), FALSE);
  gtk_text_view_set_cursor_visible(GTK_TEXT_VIEW(view), FALSE);
  gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(view), GTK_WRAP_WORD_CHAR);
  gtk_text_view_set_left_margin(GTK_TEXT_VIEW(view), kCreditsTextMargin);
  gtk_text_view_set_right_margin(GTK_TEXT_VIEW(view), kCreditsTextMargin);
  const std::string notice = noticeText();
  gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(view)), notice.c_str(),
                           static_cast<int>(notice.size()));
  GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_widget_set_name(scroller, kCreditsBoxName);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroller), GTK_POLICY_AUTOMATIC, GTK_POLICY_ALWAYS);
  gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scroller), GTK_SHADOW_IN);
  // The scroll bar shows from the start, as a text box's does, not only while the player scrolls.
  gtk_scrolled_window_set_overlay_scrolling(GTK_SCROLLED_WINDOW(scroller), FALSE);
  gtk_container_add(GTK_CONTAINER(scroller), view);
  gtk_widget_show(view);
  gtk_widget_set_no_show_all(scroller, TRUE);  // shown only with the credits page
  return scroller;
}

GtkWidget* makeComboWithEntry() {
  GtkWidget* combo = gtk_combo_box_text_new_with_entry();
  GtkEntry* entry = comboEntry(combo);
  gtk_entry_set_activates_default(entry, TRUE);  // Enter presses the connect button
  gtk_entry_set_width_chars(entry, 1);           // the fixed width comes from the size request
  return combo;
}

// --- Event handlers: each hands its event to the shell ------------------------------------------

void onConnectClicked(GtkButton*, gpointer data) {
  auto& front = *static_cast<GtkFrontEnd*>(data);
  handleEvent([&] { connectCommand(*front.app, front.platform); });
}

gboolean onDraw(GtkWidget*, cairo_t* cr, gpointer data) {
  auto& front = *static_cast<GtkFrontEnd*>(data);
  handleEvent([&] {
    AppState& app = *front.app;
    if (app.mode != ScreenMode::Game) return paintConnectScreen(cr, front.connectFont);
    paintGameScreen(app, front.platform);
    // The canvas is cairo's RGB24 layout already: one copy of the whole picture, no flicker.
    cairo_surface_t* picture = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(app.canvas.pixels), CAIRO_FORMAT_RGB24, app.canvas.width,
        app.canvas.height, app.canvas.stride * static_cast<int>(sizeof(Pixel)));
    cairo_set_source_surface(cr, picture, 0, 0);
    // On a display scaled by 2 or more each canvas pixel becomes a sharp square, not a blur.
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_surface_destroy(picture);
  });
  return TRUE;
}

int32_t clientCoordinate(double value) {
  return static_cast<int32_t>(std::floor(value));
}

gboolean onButtonPress(GtkWidget*, GdkEventButton* event, gpointer data) {
  auto& front = *static_cast<GtkFrontEnd*>(data);
  // A double click also reports its second press as an ordinary press; the extra event is dropped.
  if (event->type != GDK_BUTTON_PRESS || event->button != kLeftButton) return FALSE;
  handleEvent(
      [&] { mouseDown(*front.app, front.platform, clientCoordinate(event->x), clientCoordinate(event->y)); });
  return TRUE;
}

gboolean onButtonRelease(GtkWidget*, GdkEventButton* event, gpointer data) {
  auto& front = *static_cast<GtkFrontEnd*>(data);
  if (event->button != kLeftButton) return FALSE;
  handleEvent([&] { mouseUp(*front.app, front.platform); });
  return TRUE;
}

gboolean onMotion(GtkWidget*, GdkEventMotion* event, gpointer data) {
  auto& front = *static_cast<GtkFrontEnd*>(data);
  handleEvent(
      [&] { mouseMove(*front.app, front.platform, clientCoordinate(event->x), clientCoordinate(event->y)); });
  return TRUE;
}

// The accelerators go by the character a key types; every other key goes on to the focused field.
gboolean onKeyPress(GtkWidget*, GdkEventKey* event, gpointer data) {
  auto& front = *static_cast<GtkFrontEnd*>(data);
  const char32_t character = gdk_keyval_to_unicode(event->keyval);
  const bool alt = (event->state & GDK_MOD1_MASK) != 0;
  if (acceleratorCommand(character, alt) == Command::None) return FALSE;
  handleEvent([&] { runAccelerator(front.platform, character, alt); });
  return TRUE;
}

// The window can go while a modal box still runs its own loop, even before the main loop has
// started (closed during the name dialog of start-up): the program then ends once that box is done.
void onDestroy(GtkWidget*, gpointer data) {
  auto& front = *static_cast<GtkFrontEnd*>(data);
  front.platform.stopTimers();
  front.window = MainWindow{};
  front.windowClosed = true;
  if (gtk_main_level() > 0) gtk_main_quit();
}

void placeWindow(GtkWindow* window) {
  GdkDisplay* display = gdk_display_get_default();
  GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
  if (!monitor) monitor = gdk_display_get_monitor(display, 0);
  if (!monitor) return;
  GdkRectangle screen{};
  gdk_monitor_get_geometry(monitor, &screen);
  const WindowPlacement placed =
      initialPlacement(screen.width, screen.height, kConnectClientWidth, kConnectClientHeight);
  gtk_window_move(window, screen.x + placed.x, screen.y + placed.y);
}

GtkWidget* makeClientArea(GtkFrontEnd& front) {
  GtkWidget* area = gtk_drawing_area_new();
  gtk_widget_set_size_request(area, kConnectClientWidth, kConnectClientHeight);
  gtk_widget_add_events(area, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK);
  g_signal_connect(area, "draw", G_CALLBACK(onDraw), &front);
  g_signal_connect(area, "button-press-event", G_CALLBACK(onButtonPress), &front);
  g_signal_connect(area, "button-release-event", G_CALLBACK(onButtonRelease), &front);
  g_signal_connect(area, "motion-notify-event", G_CALLBACK(onMotion), &front);
  return area;
}

GtkWidget* makeConnectControl(GtkFrontEnd& front, ConnectControl control) {
  MainWindow& w = front.window;
  switch (control) {
    case ConnectControl::PoolBox:
      return w.poolBox = makeComboWithEntry();
    case ConnectControl::ApiKeyBox:
      return w.keyBox = makeComboWithEntry();
    case ConnectControl::ConnectButton:
      w.connectButton = gtk_button_new_with_label(utf16ToUtf8(kConnectButtonCaption).c_str());
      g_signal_connect(w.connectButton, "clicked", G_CALLBACK(onConnectClicked), &front);
      return w.connectButton;
  }
  return nullptr;
}

// Created in tab order; GTK's drop-down lists open below their fields, so each combo box takes
// only its closed rectangle.
void addConnectControls(GtkFrontEnd& front, GtkWidget* fixed) {
  for (const ConnectControlPlace& place : kConnectControlPlaces) {
    putAt(fixed, makeConnectControl(front, place.control), closedControlRect(place));
  }
  gtk_widget_set_can_default(front.window.connectButton, TRUE);
  gtk_window_set_default(GTK_WINDOW(front.window.window), front.window.connectButton);
}

}  // namespace

GtkEntry* comboEntry(GtkWidget* combo) {
  return GTK_ENTRY(gtk_bin_get_child(GTK_BIN(combo)));
}

void buildMainWindow(GtkFrontEnd& front) {
  applyStyleSheet();
  installProgramIcon();
  MainWindow& w = front.window;
  w.window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_widget_set_name(w.window, kMainWindowName);
  gtk_window_set_title(GTK_WINDOW(w.window), utf16ToUtf8(kWindowTitle).c_str());
  gtk_window_set_resizable(GTK_WINDOW(w.window), FALSE);
  g_signal_connect(w.window, "destroy", G_CALLBACK(onDestroy), &front);
  g_signal_connect(w.window, "key-press-event", G_CALLBACK(onKeyPress), &front);

  GtkWidget* fixed = gtk_fixed_new();
  gtk_container_add(GTK_CONTAINER(w.window), fixed);
  // Painted first, so the controls and the credits box lie on top of it.
  w.area = makeClientArea(front);
  gtk_fixed_put(GTK_FIXED(fixed), w.area, 0, 0);
  addConnectControls(front, fixed);
  w.creditsBox = makeCreditsBox();
  putAt(fixed, w.creditsBox, kCreditsBoxPlace);
  gtk_widget_show_all(fixed);
  placeWindow(GTK_WINDOW(w.window));
}

}  // namespace orelog
