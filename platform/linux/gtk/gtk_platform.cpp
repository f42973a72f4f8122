// The platform services of the GTK front end, each a thin call into GTK, GLib or a Linux service.
#include "gtk_platform.h"

#include <glib-unix.h>

#include "app/shell.h"
#include "desktop_notice.h"
#include "dialogs.h"
#include "front_end.h"
#include "http_curl.h"
#include "png_codec.h"
#include "util/utf.h"

// Last: X11's headers define macros (None, Status) that the project's headers use as names.
#include <gdk/gdkx.h>

namespace orelog {

namespace {

constexpr int64_t kMicrosecondsPerMillisecond = 1000;

void fillCombo(GtkWidget* combo, const std::vector<std::u16string>& entries, int selection) {
  GtkComboBoxText* box = GTK_COMBO_BOX_TEXT(combo);
  gtk_combo_box_text_remove_all(box);
  for (const auto& entry : entries) gtk_combo_box_text_append_text(box, utf16ToUtf8(entry).c_str());
  const bool selectable = selection >= 0 && static_cast<std::size_t>(selection) < entries.size();
  if (selectable) {
    gtk_combo_box_set_active(GTK_COMBO_BOX(combo), selection);
  } else {
    gtk_entry_set_text(comboEntry(combo), "");
  }
}

}  // namespace

GtkPlatform::GtkPlatform(MainWindow& window, TimerHandler onTimer)
    : window_(window), onTimer_(std::move(onTimer)) {}

GtkPlatform::~GtkPlatform() {
  stopTimers();
  releaseInstanceLock();
}

uint32_t GtkPlatform::tickCount() {
  // Wraps at 2^32 ms like the Windows counter; every user takes differences of it.
  return static_cast<uint32_t>(g_get_monotonic_time() / kMicrosecondsPerMillisecond);
}

bool GtkPlatform::acquireInstanceLock() {
  if (!orelog::acquireInstanceLock(lock_, instanceLockPath())) return false;
  if (lock_.channel >= 0 && raiseWatch_ == 0) raiseWatch_ = g_unix_fd_add(lock_.channel, G_IO_IN, onRaiseRequest, this);
  return true;
}

void GtkPlatform::releaseInstanceLock() {
  if (raiseWatch_ != 0) g_source_remove(raiseWatch_);
  raiseWatch_ = 0;
  orelog::releaseInstanceLock(lock_);
}

// The time of the player's last input here (the click or key that closed the message box): a
// window manager that guards against focus stealing lets the running copy take the focus for it.
void GtkPlatform::raiseRunningCopy() {
  GdkDisplay* display = gdk_display_get_default();
  const uint32_t userTime =
      display && GDK_IS_X11_DISPLAY(display) ? gdk_x11_display_get_user_time(display) : GDK_CURRENT_TIME;
  askHolderToRaise(instanceLockPath(), userTime);
}

gboolean GtkPlatform::onRaiseRequest(gint, GIOCondition, gpointer data) {
  auto* self = static_cast<GtkPlatform*>(data);
  while (const auto userTime = takeRaiseRequest(self->lock_)) {
    if (self->window_.window) gtk_window_present_with_time(GTK_WINDOW(self->window_.window), *userTime);
  }
  return G_SOURCE_CONTINUE;
}

// A box without an owner is still modal to the whole program under GTK; it is placed over the main
// window whenever that is on screen.
GtkWindow* GtkPlatform::ownerWindow() const {
  if (!window_.window || !gtk_widget_get_mapped(window_.window)) return nullptr;
  return GTK_WINDOW(window_.window);
}

void GtkPlatform::showMessage(std::u16string_view text, MessageOwner) {
  if (!window_.window) return;  // the program is ending
  runMessageBox(ownerWindow(), utf16ToUtf8(text));
}

void GtkPlatform::showAbout() {
  if (window_.window) runAboutBox(ownerWindow());
}

std::optional<std::u16string> GtkPlatform::askPlayerName(std::u16string_view current) {
  if (!window_.window) return std::nullopt;
  const auto name = runNameDialog(ownerWindow(), utf16ToUtf8(current));
  if (!name) return std::nullopt;
  return utf8ToUtf16(*name);
}

std::optional<std::string> GtkPlatform::askSavePath(std::u16string_view defaultName) {
  if (!window_.window) return std::nullopt;
  return runSaveDialog(ownerWindow(), utf16ToUtf8(defaultName));
}

void GtkPlatform::openLink(std::string_view url) {
  // The desktop's URI launcher; the link never passes through a shell command line.
  GError* error = nullptr;
  gtk_show_uri_on_window(ownerWindow(), std::string(url).c_str(), GDK_CURRENT_TIME, &error);
  if (error) g_error_free(error);  // like the shell's open verb, a failure goes unnoticed
}

void GtkPlatform::showNotice(std::u16string_view title, std::u16string_view text) {
  showDesktopNotice(title, text);
}

namespace {

struct PostedTask {
  std::function<void()> task;
  std::shared_ptr<std::atomic<bool>> windowAlive;
};

gboolean runPostedTask(gpointer data) {
  std::unique_ptr<PostedTask> posted(static_cast<PostedTask*>(data));
  if (*posted->windowAlive) handleEvent(posted->task);
  return G_SOURCE_REMOVE;
}

}  // namespace

// GLib's idle sources may be added from any thread; modal dialogs' loops dispatch them too.
void GtkPlatform::postToUiThread(std::function<void()> task) {
  auto* posted = new PostedTask{std::move(task), windowAlive_};
  g_idle_add_full(G_PRIORITY_DEFAULT, runPostedTask, posted, nullptr);
}

void GtkPlatform::setBusyCursor(bool busy) {
  if (!window_.window) return;
  GdkWindow* surface = gtk_widget_get_window(window_.window);
  if (!surface) return;
  GdkCursor* cursor = busy ? gdk_cursor_new_from_name(gdk_window_get_display(surface), "wait") : nullptr;
  gdk_window_set_cursor(surface, cursor);
  if (cursor) g_object_unref(cursor);
}

void GtkPlatform::fillConnectControls(const ConnectControlsContent& content) {
  if (!window_.window) return;
  fillCombo(window_.poolBox, content.poolEntries, content.poolSelection);
  fillCombo(window_.keyBox, content.keyEntries, content.keySelection);
}

std::u16string GtkPlatform::connectFieldText(ConnectField field) {
  if (!window_.window) return {};
  GtkWidget* combo = field == ConnectField::Pool ? window_.poolBox : window_.keyBox;
  return utf8ToUtf16(gtk_entry_get_text(comboEntry(combo)));
}

void GtkPlatform::setConnectControlsEnabled(bool enabled) {
  if (!window_.window) return;
  for (GtkWidget* control : {window_.keyBox, window_.poolBox, window_.connectButton}) {
    gtk_widget_set_sensitive(control, enabled);
  }
  // Disabling dropped the keyboard focus; a usable screen takes typing in the pool field again.
  GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(window_.window));
  if (enabled && gtk_widget_get_visible(window_.poolBox) && (!focus || !gtk_widget_is_sensitive(focus))) {
    gtk_widget_grab_focus(GTK_WIDGET(comboEntry(window_.poolBox)));
  }
  repaint();
}

void GtkPlatform::hideConnectControls() {
  if (!window_.window) return;
  for (GtkWidget* control : {window_.keyBox, window_.poolBox, window_.connectButton}) {
    gtk_widget_hide(control);
  }
}

void GtkPlatform::showMainWindow() {
  if (window_.window) gtk_widget_show(window_.window);
}

void GtkPlatform::setClientSize(int width, int height) {
  if (!window_.window) return;
  // The client area is the drawing area; the window is not resizable, so it takes exactly its size.
  gtk_widget_set_size_request(window_.area, width, height);
  gtk_window_resize(GTK_WINDOW(window_.window), width, height);
}

void GtkPlatform::startTimers(uint32_t updateIntervalMs) {
  if (!window_.window || animationTimer_ != 0) return;
  animationTimer_ = g_timeout_add(kAnimationIntervalMs, &GtkPlatform::onAnimationTimer, this);
  updateTimer_ = g_timeout_add(updateIntervalMs, &GtkPlatform::onUpdateTimer, this);
}

void GtkPlatform::stopTimers() {
  *windowAlive_ = false;
  if (animationTimer_ != 0) g_source_remove(animationTimer_);
  if (updateTimer_ != 0) g_source_remove(updateTimer_);
  animationTimer_ = updateTimer_ = 0;
}

gboolean GtkPlatform::onAnimationTimer(gpointer self) {
  static_cast<GtkPlatform*>(self)->onTimer_(kAnimationTimerId);
  return G_SOURCE_CONTINUE;
}

gboolean GtkPlatform::onUpdateTimer(gpointer self) {
  static_cast<GtkPlatform*>(self)->onTimer_(kUpdateTimerId);
  return G_SOURCE_CONTINUE;
}

void GtkPlatform::showCreditsBox(bool visible) {
  if (!window_.window) return;
  gtk_widget_set_visible(window_.creditsBox, visible);
}

void GtkPlatform::repaint() {
  if (window_.window) gtk_widget_queue_draw(window_.area);
}

}  // namespace orelog
