#pragma once

#include "GridIconMenu.h"

class QLineEdit;

// The right-button menu of the grid's in-place text fields: Undo, Cut, Copy, Paste and Delete
// Item, with the tool bar's images, enabled as the field's state allows. Delete Item is offered
// (and does nothing) only where the field says it handles it.
class CGridEditMenu : public CGridMenuTarget
{
public:
    CGridEditMenu(QLineEdit &edit, bool bHandlesDeleteItem);

    // Builds the menu, shows it at the global point and carries out the chosen command.
    void Track(const QPoint &ptGlobal);

    bool OnUpdateMenuCommand(int nId, bool &bEnable) override;
    void OnMenuCommand(int nId) override;

private:
    QLineEdit &m_edit;
    const bool m_bHandlesDeleteItem;
};
