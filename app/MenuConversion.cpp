#include "MenuConversion.h"

#include "Resource.h"

CMenuItemDef ToFrameMenuItem(const MenuItemDef &item)
{
    if (item.IsSeparator())
        return CMenuItemDef();
    return CMenuItemDef(item.nID, QString::fromUtf8(item.text), ToFrameMenu(item.children));
}

std::vector<CMenuItemDef> ToFrameMenu(const std::vector<MenuItemDef> &menu)
{
    std::vector<CMenuItemDef> items;
    items.reserve(menu.size());
    for (const MenuItemDef &item : menu)
        items.push_back(ToFrameMenuItem(item));
    return items;
}

std::vector<CAccelDef> ToFrameAccelerators(const std::vector<AccelDef> &accelerators)
{
    std::vector<CAccelDef> keys;
    keys.reserve(accelerators.size());
    for (const AccelDef &accel : accelerators)
        keys.push_back(CAccelDef{accel.key, accel.nID});
    return keys;
}

std::vector<int> ToolBarButtonIds(const std::vector<ToolBarButtonDef> &buttons)
{
    std::vector<int> ids;
    ids.reserve(buttons.size());
    for (const ToolBarButtonDef &button : buttons)
        ids.push_back(button.nID == ID_SEPARATOR ? 0 : button.nID);
    return ids;
}
