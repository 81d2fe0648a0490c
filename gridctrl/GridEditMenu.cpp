#include "GridEditMenu.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>

CGridEditMenu::CGridEditMenu(QLineEdit &edit, bool bHandlesDeleteItem)
    : m_edit(edit), m_bHandlesDeleteItem(bHandlesDeleteItem)
{
}

void CGridEditMenu::Track(const QPoint &ptGlobal)
{
    CGridIconMenu menu(&m_edit);
    menu.AppendCommand(GRID_CMD_UNDO, QObject::tr("&Undo"));
    menu.AppendSeparator();
    menu.AppendCommand(GRID_CMD_CUT, QObject::tr("&Cut"));
    menu.AppendCommand(GRID_CMD_COPY, QObject::tr("&Copy"));
    menu.AppendCommand(GRID_CMD_PASTE, QObject::tr("&Paste"));
    menu.AppendCommand(GRID_CMD_DELETE_ITEM, QObject::tr("&Delete Item"));
    menu.LoadToolBarImages(GRID_MAIN_TOOLBAR);
    menu.MakeOwnerDrawn();
    menu.UpdateItemStates(*this);
    menu.Track(ptGlobal, *this);
}

bool CGridEditMenu::OnUpdateMenuCommand(int nId, bool &bEnable)
{
    switch (nId) {
    case GRID_CMD_UNDO:
        bEnable = m_edit.isUndoAvailable();
        return true;
    case GRID_CMD_CUT:
    case GRID_CMD_COPY:
        bEnable = m_edit.hasSelectedText();
        return true;
    case GRID_CMD_PASTE: {
        const QMimeData *pData = QApplication::clipboard()->mimeData();
        bEnable = pData != nullptr && pData->hasText() && !pData->text().isEmpty();
        return true;
    }
    case GRID_CMD_DELETE_ITEM:
        // Offered, but nothing in the program acts on it.
        bEnable = true;
        return m_bHandlesDeleteItem;
    default:
        return false;
    }
}

void CGridEditMenu::OnMenuCommand(int nId)
{
    switch (nId) {
    case GRID_CMD_UNDO:
        m_edit.undo();
        break;
    case GRID_CMD_CUT:
        m_edit.cut();
        break;
    case GRID_CMD_COPY:
        m_edit.copy();
        break;
    case GRID_CMD_PASTE:
        m_edit.paste();
        break;
    default:
        break;
    }
}
