// A desktop notification service for the end-to-end tests: it owns org.freedesktop.Notifications
// on the session bus, says "ready" once it does, and writes each Notify call as one line
// "APP<tab>SUMMARY<tab>BODY<tab>ICON" on standard output, ICON being the image-data hint's
// WIDTHxHEIGHT or "none". It reads bodies as markup, as most desktops' services do.
#include <gio/gio.h>

#include <cstdio>
#include <string>

namespace {

constexpr const char* kInterface = R"(
<node>
  <interface name="org.freedesktop.Notifications">
    <method name="GetCapabilities"><arg direction="out" type="as"/></method>
    <method name="Notify">
      <arg direction="in" type="s"/><arg direction="in" type="u"/><arg direction="in" type="s"/>
      <arg direction="in" type="s"/><arg direction="in" type="s"/><arg direction="in" type="as"/>
      <arg direction="in" type="a{sv}"/><arg direction="in" type="i"/><arg direction="out" type="u"/>
    </method>
    <method name="CloseNotification"><arg direction="in" type="u"/></method>
    <method name="GetServerInformation">
      <arg direction="out" type="s"/><arg direction="out" type="s"/><arg direction="out" type="s"/>
      <arg direction="out" type="s"/>
    </method>
  </interface>
</node>)";

guint32 noticesSoFar = 0;

std::string iconOf(GVariant* hints) {
  GVariant* image = g_variant_lookup_value(hints, "image-data", G_VARIANT_TYPE("(iiibiiay)"));
  if (!image) return "none";
  gint32 width = 0, height = 0;
  g_variant_get_child(image, 0, "i", &width);
  g_variant_get_child(image, 1, "i", &height);
  g_variant_unref(image);
  return std::to_string(width) + "x" + std::to_string(height);
}

void recordNotify(GVariant* parameters) {
  const gchar *app = nullptr, *icon = nullptr, *summary = nullptr, *body = nullptr;
  guint32 replaces = 0;
  gint32 timeout = 0;
  GVariant* actions = nullptr;
  GVariant* hints = nullptr;
  g_variant_get(parameters, "(&su&s&s&s@as@a{sv}i)", &app, &replaces, &icon, &summary, &body, &actions, &hints,
                &timeout);
  std::printf("%s\t%s\t%s\t%s\n", app, summary, body, iconOf(hints).c_str());
  std::fflush(stdout);
  g_variant_unref(actions);
  g_variant_unref(hints);
}

void onMethodCall(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* method,
                  GVariant* parameters, GDBusMethodInvocation* invocation, gpointer) {
  const std::string name = method;
  if (name == "GetCapabilities") {
    const gchar* capabilities[] = {"body", "body-markup", nullptr};
    g_dbus_method_invocation_return_value(invocation, g_variant_new("(^as)", capabilities));
  } else if (name == "Notify") {
    recordNotify(parameters);
    g_dbus_method_invocation_return_value(invocation, g_variant_new("(u)", ++noticesSoFar));
  } else if (name == "GetServerInformation") {
    g_dbus_method_invocation_return_value(invocation, g_variant_new("(ssss)", "recorder", "orelog-tests", "1", "1.2"));
  } else {
    g_dbus_method_invocation_return_value(invocation, nullptr);
  }
}

const GDBusInterfaceVTable kVTable = {onMethodCall, nullptr, nullptr, {}};

struct Recorder {
  GDBusNodeInfo* node = nullptr;
  GMainLoop* loop = nullptr;
};

void onBusAcquired(GDBusConnection* bus, const gchar*, gpointer data) {
  const auto* recorder = static_cast<Recorder*>(data);
  g_dbus_connection_register_object(bus, "/org/freedesktop/Notifications", recorder->node->interfaces[0], &kVTable,
                                    nullptr, nullptr, nullptr);
}

void onNameAcquired(GDBusConnection*, const gchar*, gpointer) {
  std::printf("ready\n");
  std::fflush(stdout);
}

void onNameLost(GDBusConnection*, const gchar*, gpointer data) {
  std::fprintf(stderr, "notice-recorder: no session bus, or the name is taken\n");
  g_main_loop_quit(static_cast<Recorder*>(data)->loop);
}

}  // namespace

// Runs until it is ended; a lost name ends it with code 1.
int main() {
  Recorder recorder{g_dbus_node_info_new_for_xml(kInterface, nullptr), g_main_loop_new(nullptr, FALSE)};
  g_bus_own_name(G_BUS_TYPE_SESSION, "org.freedesktop.Notifications", G_BUS_NAME_OWNER_FLAGS_NONE, onBusAcquired,
                 onNameAcquired, onNameLost, &recorder, nullptr);
  g_main_loop_run(recorder.loop);
  return 1;
}
