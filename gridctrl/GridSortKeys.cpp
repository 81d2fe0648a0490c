#include "GridSortKeys.h"

#include "GridListView.h"

#include <algorithm>
#include <limits>
#include <numeric>

CGridSortKeys::CGridSortKeys(const CGridListView &list, int nPos, Kind kind) : m_kind(kind)
{
    const int nRows = list.GetItemCount();
    if (kind == Kind::Text)
        m_texts.reserve(static_cast<std::size_t>(nRows));
    else
        m_numbers.reserve(static_cast<std::size_t>(nRows));
    QString strText;
    for (int nRow = 0; nRow < nRows; ++nRow) {
        list.GetCellText(nRow, nPos, strText);
        if (kind == Kind::Text)
            m_texts.push_back(strText);
        else
            m_numbers.push_back(kind == Kind::Number ? NumberOf(strText) : DottedNumberOf(strText));
    }
}

std::vector<int> CGridSortKeys::SortedOrder(bool bAscending) const
{
    const std::size_t nRows = m_kind == Kind::Text ? m_texts.size() : m_numbers.size();
    std::vector<int> order(nRows);
    std::iota(order.begin(), order.end(), 0);
    const auto key = [](int nRow) { return static_cast<std::size_t>(nRow); };
    if (m_kind == Kind::Text) {
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const int nCompare =
                QString::compare(m_texts[key(a)], m_texts[key(b)], Qt::CaseInsensitive);
            return bAscending ? nCompare < 0 : nCompare > 0;
        });
    } else {
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return bAscending ? m_numbers[key(a)] < m_numbers[key(b)]
                              : m_numbers[key(a)] > m_numbers[key(b)];
        });
    }
    return order;
}

int CGridSortKeys::NumberOf(const QString &strText)
{
    qsizetype i = 0;
    const qsizetype nLength = strText.size();
    while (i < nLength && (strText[i] == u' ' || (strText[i] >= u'\t' && strText[i] <= u'\r')))
        ++i;
    bool bNegative = false;
    if (i < nLength && (strText[i] == u'+' || strText[i] == u'-'))
        bNegative = strText[i++] == u'-';
    long long nValue = 0;
    constexpr long long nLimit = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
    for (; i < nLength && strText[i] >= u'0' && strText[i] <= u'9'; ++i)
        nValue = std::min(nLimit, nValue * 10 + (strText[i].unicode() - u'0'));
    if (bNegative)
        nValue = -nValue;
    return static_cast<int>(std::clamp<long long>(nValue, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

int CGridSortKeys::DottedNumberOf(const QString &strText)
{
    QString strDigits = strText;
    strDigits.remove(u'.');
    return NumberOf(strDigits);
}
