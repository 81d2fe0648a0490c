#pragma once

#include "GridColumnMasks.h"

#include <QString>
#include <vector>

// The columns a definition set builds, left to right, with the masks they set.
struct GridColumnLayout {
    struct Column {
        int nColumnId = 0;
        QString strCaption;
        // LVCFMT_* alignment.
        int nFormat = 0;
        int nWidth = 0;
    };
    std::vector<Column> columns;
    GridColumnMasks masks;
    // The header's masks, by column id: starts marked ascending (so the first click sorts
    // descending), shows no sort mark, cannot be resized.
    quint32 dwSortAscending = 0;
    quint32 dwNoSortMark = 0;
    quint32 dwFixedWidth = 0;
};
