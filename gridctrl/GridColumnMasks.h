#pragma once

#include <QtGlobal>

// The grid list's per-column behaviour: bit n of each mask stands for column id n.
struct GridColumnMasks {
    quint32 dwListEditCols = 0;
    quint32 dwComboEditCols = 0;
    quint32 dwTextEditCols = 0;
    quint32 dwNumSortCols = 0;
    quint32 dwDotNumSortCols = 0;
    quint32 dwImageCols = 0;

    static bool Has(quint32 dwMask, int nColumnId)
    {
        return nColumnId >= 0 && nColumnId <= 31 && (dwMask >> nColumnId & 1U) != 0;
    }
};
