#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <vector>

// Menus, accelerators and the tool bar as data. The application builds its QMenus, QActions
// and tool bar from these tables, so the command ids and texts live in one place.

// One menu entry: a command (nID and text), a popup (text and children, nID 0) or a
// separator (nID 0, no text). Texts keep '&' for the mnemonic and "\t" before the shortcut
// shown at the right.
struct MenuItemDef {
    int nID = 0;
    const char *text = nullptr;
    std::vector<MenuItemDef> children;
    // Disabled when the menu is built; the command update pass enables it where a handler
    // exists. The recent-file placeholder stays greyed until it is replaced by the list.
    bool bInactive = false;

    bool IsSeparator() const { return text == nullptr; }
    bool IsPopup() const { return text != nullptr && nID == 0; }
};

// The main menu (menu 128): its top-level entries are the popups of the menu bar.
const std::vector<MenuItemDef> &MainMenuDef();

// The tree pane's context menu (menu 136): one popup, "PellixTreeMenu", whose children are
// the entries shown.
const std::vector<MenuItemDef> &TreeMenuDef();

// The main menu's text of command nID with `strStep` after its name ("&Undo Delete\tCtrl+Z");
// the text as the menu has it when strStep is empty, and empty for an id not in the menu.
QString StepCommandText(int nID, const QString &strStep);

struct AccelDef {
    QKeySequence key;
    int nID;
};

// The accelerator table (128). Several keys may raise the same command.
const std::vector<AccelDef> &AcceleratorDef();

// The keys of `nID` in table order; empty when it has none.
QList<QKeySequence> AcceleratorKeys(int nID);

struct ToolBarButtonDef {
    int nID;    // ID_SEPARATOR for a gap
    int nImage; // index into the tool bar image strip; -1 for a gap
};

// The main tool bar (128) from left to right.
const std::vector<ToolBarButtonDef> &ToolBarDef();

// The tool bar image of command `nID`; -1 when the command has no button.
int ToolBarImageIndex(int nID);
