// The program's icon, decoded once from the bytes compiled into the executable.
#include "program_icon.h"

#include <cstddef>

extern const unsigned char orelog_icon_png[];
extern const std::size_t orelog_icon_png_size;

namespace orelog {

namespace {

GdkPixbuf* decodeIcon() {
  GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type("png", nullptr);
  if (!loader) return nullptr;
  const bool written = gdk_pixbuf_loader_write(loader, orelog_icon_png, orelog_icon_png_size, nullptr);
  const bool closed = gdk_pixbuf_loader_close(loader, nullptr);
  GdkPixbuf* icon = written && closed ? gdk_pixbuf_loader_get_pixbuf(loader) : nullptr;
  if (icon) g_object_ref(icon);
  g_object_unref(loader);
  return icon;
}

}  // namespace

// Decoded at first use and kept for the life of the process.
GdkPixbuf* programIcon() {
  static GdkPixbuf* icon = decodeIcon();
  return icon;
}

void installProgramIcon() {
  if (GdkPixbuf* icon = programIcon()) gtk_window_set_default_icon(icon);
}

GtkWidget* programIconImage() {
  GdkPixbuf* icon = programIcon();
  return icon ? gtk_image_new_from_pixbuf(icon) : nullptr;
}

}  // namespace orelog
