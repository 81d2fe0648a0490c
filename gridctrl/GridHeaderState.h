#pragma once

#include <QtGlobal>

// What the list's header keeps for sorting and sizing: the sorted column and its direction,
// the direction each column was last sorted in, and the columns without a sort mark or with
// a fixed width.
struct GridHeaderState {
    // Header item index of the sorted column, -1 for none.
    int nSortColumn = -1;
    bool bSortAscending = true;
    // Bit n: column n was last sorted ascending (set from the definitions by column id, by a
    // click by position).
    quint32 dwDirectionMask = 0;
    // By column id.
    quint32 dwNoMarkMask = 0;
    quint32 dwFixedWidthMask = 0;

    // Records the sorted column and its direction; returns the column sorted before.
    int SetSortColumn(int nItem, bool bAscending)
    {
        const int nPrevious = nSortColumn;
        nSortColumn = nItem;
        bSortAscending = bAscending;
        if (nItem >= 0 && nItem <= 31) {
            const quint32 dwBit = 1U << nItem;
            dwDirectionMask = bAscending ? dwDirectionMask | dwBit : dwDirectionMask & ~dwBit;
        }
        return nPrevious;
    }
    bool IsAscending(int nItem) const
    {
        return nItem >= 0 && nItem <= 31 && (dwDirectionMask >> nItem & 1U) != 0;
    }
};
