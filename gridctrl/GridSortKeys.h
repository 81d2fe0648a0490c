#pragma once

#include <QString>
#include <vector>

class CGridListView;

// The keys a grid list sorts its rows by: the text each row shows in one column, or the number
// that text starts with (with every "." removed first for dotted numbers: 1.500 is 1500).
class CGridSortKeys
{
public:
    enum class Kind { Text, Number, DottedNumber };

    CGridSortKeys(const CGridListView &list, int nPos, Kind kind);

    // The rows in sorted order: element i is the row to show at i. Text compares without
    // regard to case; rows with equal keys keep their order.
    std::vector<int> SortedOrder(bool bAscending) const;

    // The whole number a text starts with after blanks and a sign, as the C library reads it
    // (0 when there is none; held to the int range).
    static int NumberOf(const QString &strText);
    static int DottedNumberOf(const QString &strText);

private:
    Kind m_kind;
    std::vector<QString> m_texts;
    std::vector<int> m_numbers;
};
