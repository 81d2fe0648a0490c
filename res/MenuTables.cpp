#include "MenuTables.h"

#include "Resource.h"

#include <QList>
#include <algorithm>
#include <utility>

namespace
{

MenuItemDef Separator()
{
    return MenuItemDef{0, nullptr, {}, false};
}

MenuItemDef Command(int nID, const char *text)
{
    return MenuItemDef{nID, text, {}, false};
}

// A command greyed in the menu until the command update pass enables it.
MenuItemDef Inactive(int nID, const char *text)
{
    return MenuItemDef{nID, text, {}, true};
}

MenuItemDef Popup(const char *text, std::vector<MenuItemDef> children)
{
    return MenuItemDef{0, text, std::move(children), false};
}

std::vector<MenuItemDef> FileMenu()
{
    return {
        Command(ID_FILE_NEW, "&New\tCtrl+N"),
        Command(ID_FILE_OPEN, "&Open...\tCtrl+O"),
        Command(ID_FILE_OPENURL, "Open &URL..."),
        Command(ID_FILE_CLOSE, "&Close"),
        Separator(),
        Command(ID_FILE_SAVE, "&Save\tCtrl+S"),
        Command(ID_FILE_SAVE_AS, "Save &As..."),
        Command(ID_FILE_SAVE_ALL, "Save A&ll"),
        Separator(),
        Inactive(ID_FILE_PRINT, "&Print...\tCtrl+P"),
        Inactive(ID_FILE_PRINT_PREVIEW, "Print Pre&view"),
        Inactive(ID_FILE_PRINT_SETUP, "P&rint Setup..."),
        Separator(),
        Inactive(ID_FILE_MRU_FILE1, "Recent File"),
        Separator(),
        Command(ID_APP_EXIT, "E&xit"),
    };
}

std::vector<MenuItemDef> EditMenu()
{
    return {
        Command(ID_EDIT_UNDO, "&Undo\tCtrl+Z"),
        Command(ID_EDIT_REDO, "&Redo\tCtrl+Y"),
        Separator(),
        Command(ID_EDIT_CUT, "Cu&t\tCtrl+X"),
        Command(ID_EDIT_COPY, "&Copy\tCtrl+C"),
        Command(ID_EDIT_PASTE, "&Paste\tCtrl+V"),
        Command(ID_EDIT_DELETE, "&Delete"),
        Command(ID_EDIT_RENAME, "R&ename"),
        Separator(),
        Command(ID_EDIT_FIND, "&Find...\tCtrl+F"),
        Command(ID_EDIT_REPLACE, "&Replace...\tCtrl+H"),
        Command(ID_EDIT_VALIDATE, "&Validate..."),
    };
}

std::vector<MenuItemDef> InsertMenu()
{
    return {
        Command(ID_INSERT_ELEMENT, "&Element"),
        Command(ID_INSERT_CHILDELEMENT, "&Child Element"),
        Command(ID_INSERT_ATTRIBUTE, "&Attribute"),
        Command(ID_INSERT_TEXT, "&Text"),
        Command(ID_INSERT_COMMENT, "C&omment"),
        Command(ID_INSERT_PROCESSINSTRUCTION, "&Process Instruction"),
        Command(ID_INSERT_CDATASECTION, "CDATA &Section"),
    };
}

std::vector<MenuItemDef> WindowMenu()
{
    return {
        Command(ID_WINDOW_NEW, "&New Window"), Command(ID_WINDOW_CASCADE, "&Cascade"),
        Command(ID_WINDOW_TILE_HORZ, "&Tile"), Command(ID_WINDOW_ARRANGE, "&Arrange Icons"),
        Command(ID_WINDOW_SPLIT, "S&plit"),
    };
}

} // namespace

const std::vector<MenuItemDef> &MainMenuDef()
{
    static const std::vector<MenuItemDef> menu{
        Popup("&File", FileMenu()),
        Popup("&Edit", EditMenu()),
        Popup("&View",
              {Command(ID_VIEW_TOOLBAR, "&Toolbar"), Command(ID_VIEW_STATUS_BAR, "&Status Bar")}),
        Popup("Insert", InsertMenu()),
        Popup("&Window", WindowMenu()),
        Popup("&Help",
              {Command(ID_HELP_CONTENTS, "&Contents"), Command(ID_APP_ABOUT, "&About Pellix...")}),
    };
    return menu;
}

const std::vector<MenuItemDef> &TreeMenuDef()
{
    static const std::vector<MenuItemDef> menu{
        Popup("PellixTreeMenu",
              {
                  Command(ID_TREE_INSERTELEMENT, "Insert &Element"),
                  Command(ID_TREE_INSERTCHILDELEMENT, "Insert &Child Element"),
                  Separator(),
                  Command(ID_TREE_CUT, "Cu&t\tCtrl+X"),
                  Command(ID_TREE_COPY, "&Copy\tCtrl+C"),
                  Command(ID_TREE_PASTE, "&Paste\tCtrl+V"),
                  Command(ID_TREE_DELETE, "&Delete"),
                  Command(ID_TREE_RENAME, "&Rename"),
              }),
    };
    return menu;
}

const std::vector<AccelDef> &AcceleratorDef()
{
    static const std::vector<AccelDef> table{
        {QKeySequence(Qt::CTRL | Qt::Key_N), ID_FILE_NEW},
        {QKeySequence(Qt::CTRL | Qt::Key_O), ID_FILE_OPEN},
        {QKeySequence(Qt::CTRL | Qt::Key_S), ID_FILE_SAVE},
        {QKeySequence(Qt::CTRL | Qt::Key_P), ID_FILE_PRINT},
        {QKeySequence(Qt::CTRL | Qt::Key_Z), ID_EDIT_UNDO},
        {QKeySequence(Qt::CTRL | Qt::Key_X), ID_EDIT_CUT},
        {QKeySequence(Qt::CTRL | Qt::Key_C), ID_EDIT_COPY},
        {QKeySequence(Qt::CTRL | Qt::Key_V), ID_EDIT_PASTE},
        {QKeySequence(Qt::ALT | Qt::Key_Backspace), ID_EDIT_UNDO},
        {QKeySequence(Qt::SHIFT | Qt::Key_Delete), ID_EDIT_CUT},
        {QKeySequence(Qt::CTRL | Qt::Key_Insert), ID_EDIT_COPY},
        {QKeySequence(Qt::SHIFT | Qt::Key_Insert), ID_EDIT_PASTE},
        {QKeySequence(Qt::CTRL | Qt::Key_Y), ID_EDIT_REDO},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), ID_EDIT_REDO},
        {QKeySequence(Qt::Key_F6), ID_NEXT_PANE},
        {QKeySequence(Qt::SHIFT | Qt::Key_F6), ID_PREV_PANE},
        {QKeySequence(Qt::Key_F1), ID_HELP},
    };
    return table;
}

QList<QKeySequence> AcceleratorKeys(int nID)
{
    QList<QKeySequence> keys;
    for (const AccelDef &accel : AcceleratorDef()) {
        if (accel.nID == nID)
            keys.append(accel.key);
    }
    return keys;
}

const std::vector<ToolBarButtonDef> &ToolBarDef()
{
    static const std::vector<ToolBarButtonDef> bar{
        {ID_FILE_NEW, 0},       {ID_FILE_OPEN, 1},         {ID_FILE_SAVE, 2},
        {ID_SEPARATOR, -1},     {ID_EDIT_CUT, 3},          {ID_EDIT_COPY, 4},
        {ID_EDIT_PASTE, 5},     {ID_SEPARATOR, -1},        {ID_FILE_PRINT, 6},
        {ID_SEPARATOR, -1},     {ID_TREE_EXPAND, 7},       {ID_TREE_CONTRACT, 8},
        {ID_TREE_EXPANDALL, 9}, {ID_TREE_CONTRACTALL, 10}, {ID_SEPARATOR, -1},
        {ID_APP_ABOUT, 11},
    };
    return bar;
}

int ToolBarImageIndex(int nID)
{
    if (nID == ID_SEPARATOR)
        return -1;
    const auto &bar = ToolBarDef();
    const auto it = std::find_if(bar.begin(), bar.end(), [nID](const ToolBarButtonDef &button) {
        return button.nID == nID;
    });
    return it == bar.end() ? -1 : it->nImage;
}

QString StepCommandText(int nID, const QString &strStep)
{
    for (const MenuItemDef &popup : MainMenuDef()) {
        for (const MenuItemDef &item : popup.children) {
            if (item.nID != nID)
                continue;
            QString strText = QString::fromUtf8(item.text);
            if (!strStep.isEmpty()) {
                const qsizetype nTab = strText.indexOf(QLatin1Char('\t'));
                strText.insert(nTab < 0 ? strText.size() : nTab, QLatin1Char(' ') + strStep);
            }
            return strText;
        }
    }
    return {};
}
