// Desktop notices: asynchronous GetCapabilities and Notify calls to org.freedesktop.Notifications
// over GDBus.
#include "desktop_notice.h"

#include <gio/gio.h>

#include <memory>
#include <string>

#include "program_icon.h"
#include "util/utf.h"

namespace orelog {
namespace {

constexpr const char* kServiceName = "org.freedesktop.Notifications";
constexpr const char* kServicePath = "/org/freedesktop/Notifications";
constexpr const char* kServiceInterface = "org.freedesktop.Notifications";
constexpr const char* kDesktopEntry = "orelog";  // res/orelog.desktop
constexpr gint32 kServerChoosesTimeout = -1;
constexpr gint kDefaultCallTimeout = -1;

struct Notice {
  std::string title;
  std::string text;
};

// GIO would otherwise start a bus of its own for the X display ("autolaunch"), which outlives the
// game and never has a notification service on it.
bool sessionBusExists() {
  const char* address = g_getenv("DBUS_SESSION_BUS_ADDRESS");
  if (address && *address) return true;
  const std::string socket = std::string(g_get_user_runtime_dir()) + "/bus";
  return g_file_test(socket.c_str(), G_FILE_TEST_EXISTS);
}

// The icon's pixels as the "image-data" hint (width, height, row stride, alpha, bits, channels, bytes).
GVariant* iconHint(GdkPixbuf* icon) {
  GBytes* bytes = g_bytes_new(gdk_pixbuf_read_pixels(icon), gdk_pixbuf_get_byte_length(icon));
  GVariant* pixels = g_variant_new_from_bytes(G_VARIANT_TYPE_BYTESTRING, bytes, TRUE);
  g_bytes_unref(bytes);
  return g_variant_new("(iiibii@ay)", gdk_pixbuf_get_width(icon), gdk_pixbuf_get_height(icon),
                       gdk_pixbuf_get_rowstride(icon), gdk_pixbuf_get_has_alpha(icon),
                       gdk_pixbuf_get_bits_per_sample(icon), gdk_pixbuf_get_n_channels(icon), pixels);
}

GVariant* notifyArguments(const Notice& notice, bool bodyIsMarkup) {
  GVariantBuilder hints;
  g_variant_builder_init(&hints, G_VARIANT_TYPE_VARDICT);
  if (GdkPixbuf* icon = programIcon()) g_variant_builder_add(&hints, "{sv}", "image-data", iconHint(icon));
  g_variant_builder_add(&hints, "{sv}", "desktop-entry", g_variant_new_string(kDesktopEntry));
  // A worker's name comes from the pool: where the service reads the body as markup, a name such
  // as "<img src=...>" is shown as written, never interpreted.
  gchar* body = bodyIsMarkup ? g_markup_escape_text(notice.text.c_str(), -1) : g_strdup(notice.text.c_str());
  const guint32 replacesNone = 0;
  GVariant* arguments = g_variant_new("(susss@asa{sv}i)", notice.title.c_str(), replacesNone, "",
                                      notice.title.c_str(), body, g_variant_new_strv(nullptr, 0), &hints,
                                      kServerChoosesTimeout);
  g_free(body);
  return arguments;
}

// Whether the service's capabilities, as GetCapabilities answers them, include "body-markup".
bool readsBodyAsMarkup(GVariant* capabilities) {
  GVariant* names = g_variant_get_child_value(capabilities, 0);
  gsize count = 0;
  const gchar** list = g_variant_get_strv(names, &count);
  bool markup = false;
  for (gsize i = 0; i < count; ++i) markup = markup || g_strcmp0(list[i], "body-markup") == 0;
  g_free(list);
  g_variant_unref(names);
  return markup;
}

// The service's answer (the notice's number) or its error: nothing to do with either.
void onNotifyAnswered(GObject* connection, GAsyncResult* result, gpointer) {
  GError* error = nullptr;
  GVariant* answer = g_dbus_connection_call_finish(G_DBUS_CONNECTION(connection), result, &error);
  if (answer) g_variant_unref(answer);
  if (error) g_error_free(error);
}

// The capabilities are known (or the service is missing, which the Notify call finds out too).
void onCapabilities(GObject* source, GAsyncResult* result, gpointer data) {
  const std::unique_ptr<Notice> notice(static_cast<Notice*>(data));
  GDBusConnection* bus = G_DBUS_CONNECTION(source);
  GError* error = nullptr;
  GVariant* capabilities = g_dbus_connection_call_finish(bus, result, &error);
  if (error) {
    g_error_free(error);
    return;
  }
  const bool markup = readsBodyAsMarkup(capabilities);
  g_variant_unref(capabilities);
  g_dbus_connection_call(bus, kServiceName, kServicePath, kServiceInterface, "Notify",
                         notifyArguments(*notice, markup), G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE,
                         kDefaultCallTimeout, nullptr, onNotifyAnswered, nullptr);
}

void onBusReady(GObject*, GAsyncResult* result, gpointer data) {
  std::unique_ptr<Notice> notice(static_cast<Notice*>(data));
  GError* error = nullptr;
  GDBusConnection* bus = g_bus_get_finish(result, &error);
  if (!bus) {
    if (error) g_error_free(error);
    return;
  }
  g_dbus_connection_call(bus, kServiceName, kServicePath, kServiceInterface, "GetCapabilities", nullptr,
                         G_VARIANT_TYPE("(as)"), G_DBUS_CALL_FLAGS_NONE, kDefaultCallTimeout, nullptr,
                         onCapabilities, notice.release());
  g_object_unref(bus);  // each call holds its own reference until it is answered
}

}  // namespace

void showDesktopNotice(std::u16string_view title, std::u16string_view text) {
  if (!sessionBusExists()) return;
  auto notice = std::make_unique<Notice>(Notice{utf16ToUtf8(title), utf16ToUtf8(text)});
  g_bus_get(G_BUS_TYPE_SESSION, nullptr, onBusReady, notice.release());
}

}  // namespace orelog
