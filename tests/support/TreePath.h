#pragma once

#include "PellixTreeView.h"

#include <QString>
#include <QStringList>

// The item of `pTree` reached from the document item by labels ("" the document item itself,
// "root/a" its element a); null when there is none.
inline CTreeItemRef ItemAtPath(const CPellixTreeView *pTree, const QString &strPath)
{
    CTreeItemRef item = pTree->GetRootItem();
    for (const QString &strLabel : strPath.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        CTreeItemRef child = item.GetFirstChild();
        while (!child.IsNull() && child.GetLabel() != strLabel)
            child = child.GetNextSibling();
        item = child;
    }
    return item;
}

// The labels of the children of `parent`, in order.
inline QStringList ChildLabels(const CTreeItemRef &parent)
{
    QStringList labels;
    for (CTreeItemRef child = parent.GetFirstChild(); child; child = child.GetNextSibling())
        labels << child.GetLabel();
    return labels;
}
