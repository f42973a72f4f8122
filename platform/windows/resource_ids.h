/* The executable's resource and control ids, shared by res/orelog.rc and the C++ code.
   Plain #defines, as the resource compiler reads this file too. */
#pragma once

#define ORELOG_ID_TITLE_STRING 103
#define ORELOG_ID_CLASS_STRING 109
#define ORELOG_ID_ICON 107
#define ORELOG_ID_SMALL_ICON 108
#define ORELOG_ID_ACCELERATORS 109
#define ORELOG_ID_MENU 109
#define ORELOG_ID_ABOUT_DIALOG 103
#define ORELOG_ID_NAME_DIALOG 143
#define ORELOG_ID_NAME_EDIT 1000
#define ORELOG_ID_COLOUR_SHEET 141
#define ORELOG_ID_MASK_SHEET 142

/* The command ids WM_COMMAND carries: from the accelerators and the menu, and the connect button's
   control id; the main window turns them into the core's commands. */
#define ORELOG_COMMAND_ABOUT 104
#define ORELOG_COMMAND_EXIT 105
#define ORELOG_COMMAND_CONNECT 1003
