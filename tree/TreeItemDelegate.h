#pragma once

#include <QStyledItemDelegate>

// Draws and edits the tree pane's labels as the standard delegate does, and tells where a
// label's text lies (the tooltip shows only while the mouse is over it).
class CTreeItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit CTreeItemDelegate(QObject *pParent);

    // The rectangle of the label text of `index` drawn in `option` (whose rect is the item's
    // rectangle), as wide as the text plus its margins.
    QRect LabelTextRect(QStyleOptionViewItem option, const QModelIndex &index) const;
};
