#pragma once

#include "MDIFrameWnd.h"
#include "MenuTables.h"

#include <vector>

// The resource tables of menus and accelerators in the form the main window builds from.

// The item with its popups' children; a separator stays a separator (id 0, no text).
CMenuItemDef ToFrameMenuItem(const MenuItemDef &item);
std::vector<CMenuItemDef> ToFrameMenu(const std::vector<MenuItemDef> &menu);
std::vector<CAccelDef> ToFrameAccelerators(const std::vector<AccelDef> &accelerators);
// The tool bar's command ids from left to right, 0 for a gap.
std::vector<int> ToolBarButtonIds(const std::vector<ToolBarButtonDef> &buttons);
