/* The texts the Windows resources and the core both show: the window title, the About box, the name
   dialog and the keys of the accelerators. Plain macros of UTF-8 strings, so the resource compiler
   (with code page 65001) reads them as well as C++, which makes them UTF-16 with a u"" prefix. */
#ifndef ORELOG_RESOURCE_TEXTS_H
#define ORELOG_RESOURCE_TEXTS_H

#include "orelog_version.h"

#define ORELOG_WINDOW_TITLE "ホリダスα"
#define ORELOG_OK_BUTTON "OK"

/* The About box: an icon, two lines and a default OK button. */
#define ORELOG_ABOUT_CAPTION "About " ORELOG_NAME
#define ORELOG_ABOUT_VERSION_LINE ORELOG_NAME ", Version " ORELOG_VERSION
#define ORELOG_ABOUT_SECOND_LINE "Your pool's figures, dug up by cats."

/* The name dialog: a label, one edit field with the limit noted under it, and a default button. */
#define ORELOG_NAME_CAPTION "名前設定"
#define ORELOG_NAME_LABEL "名前"
#define ORELOG_NAME_LIMIT_NOTE "名前は63文字までです。"
#define ORELOG_NAME_BUTTON "決定"

/* Alt and either key opens the About box: one character each, as typed. */
#define ORELOG_ABOUT_KEY "?"
#define ORELOG_ABOUT_OTHER_KEY "/"

#endif
