#pragma once

#include <QString>
#include <QtGlobal>

// Everything a grid list knows of one possible column. The texts may be null.
struct ColumnDefinition {
    // Key of every per-column setting, 0 to 31.
    int nColumnId = 0;
    // LVCFMT_LEFT, LVCFMT_RIGHT or LVCFMT_CENTER.
    int nFormat = 0;
    int nWidth = 0;
    // Header image index, -1 for none.
    int nImage = -1;
    // COLDEF_* bits.
    quint32 dwFlags = 0;
    QString strCaption;
    // Kept and loaded for the owner; the list does not use them.
    QString strDataType;
    QString strDescription;
};
