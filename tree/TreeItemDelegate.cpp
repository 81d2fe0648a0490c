#include "TreeItemDelegate.h"

#include <QApplication>
#include <QStyle>
#include <algorithm>

CTreeItemDelegate::CTreeItemDelegate(QObject *pParent) : QStyledItemDelegate(pParent) {}

QRect CTreeItemDelegate::LabelTextRect(QStyleOptionViewItem option, const QModelIndex &index) const
{
    initStyleOption(&option, index);
    const QWidget *pWidget = option.widget;
    const QStyle *pStyle = pWidget != nullptr ? pWidget->style() : QApplication::style();
    QRect rect = pStyle->subElementRect(QStyle::SE_ItemViewItemText, &option, pWidget);
    // The style's text rectangle runs to the item's right edge; the label is only as wide as
    // its text and the margins the style draws around it.
    const int nMargin = pStyle->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, pWidget) + 1;
    const int nWidth = option.fontMetrics.horizontalAdvance(option.text) + 2 * nMargin;
    rect.setWidth(std::min(rect.width(), nWidth));
    return rect;
}
