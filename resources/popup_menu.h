// The popup menu of the main window: the one table of its items, in order, with their exact
// texts, command identifiers, submenus and separators. The Qt adapter builds the menu it shows on
// a right click from this table; the shell sets the check marks and rewrites the catalog items
// before every display.
#pragma once

enum PopupItemKind {
    PopupCommand,    // a command item: text and identifier
    PopupSeparator,  // a separator line
    PopupSubmenu,    // opens a submenu holding the entries up to its matching PopupEnd
    PopupEnd,        // closes the innermost open submenu
};

struct PopupMenuEntry {
    PopupItemKind kind;
    const char* text;  // nullptr for separators and submenu ends
    int command;       // 0 unless kind is PopupCommand
};

// Command identifiers of the menu items.
enum PopupCommandId {
    CmdFirstConstellation = 101,  // 101 + constellation index, up to 148
    CmdLastConstellation = 148,
    CmdFirstDisplayElement = 201,  // 200 + display element number 1..6
    CmdLastDisplayElement = 206,
    CmdArrowsMoveView = 301,
    CmdArrowsMoveShift = 302,
    CmdDefaultView = 303,
    CmdDefaultShift = 304,
    CmdZeroShift = 305,
    CmdFirstEdition = 401,  // 400 + edition slot 1..3
    CmdLastEdition = 403,
    CmdReplaceCatalog = 404,
    CmdSetEpoch = 405,
    CmdStatistics = 406,
    CmdSaveCatalogAs = 407,
    CmdPrint = 500,
    CmdSavePicture = 501,
    // Not in the menu: the buttons of the Statistics window hand these to the command handler.
    CmdStatisticsFitEpoch = 601,
    CmdStatisticsApplyOffsets = 602,
    CmdStatisticsApplyEpochFit = 603,
    // Not in the menu: the nearest-stars list's context menu, one per identification offered.
    CmdIdentifyFirst = 710,
    CmdIdentifyLast = 719,
    CmdFind = 700,
    CmdAbout = 800,
    CmdExit = 900,
    CmdColorNumbers = 1003,  // 1001 + colour table entry
    CmdColorEclipticGrid = 1005,
    CmdColorEquatorialGrid = 1006,
    CmdUserGuide = 1100,
};

extern const PopupMenuEntry kPopupMenu[];
extern const int kPopupMenuSize;  // number of entries in kPopupMenu
