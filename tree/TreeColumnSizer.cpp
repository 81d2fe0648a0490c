#include "TreeColumnSizer.h"

#include <QEvent>
#include <QHeaderView>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>
#include <algorithm>

CTreeColumnSizer::CTreeColumnSizer(QTreeView *pView) : QObject(pView), m_pView(pView)
{
    QHeaderView *pHeader = pView->header();
    pHeader->setStretchLastSection(false);
    pHeader->setSectionResizeMode(QHeaderView::Fixed);
    // The tree's size hint for the column then reads the rows in view and no others.
    pHeader->setResizeContentsPrecision(0);
    pView->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    pView->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    const auto schedule = [this] { Schedule(); };
    connect(pView->verticalScrollBar(), &QScrollBar::valueChanged, this, schedule);
    connect(pView, &QTreeView::expanded, this, schedule);
    connect(pView, &QTreeView::collapsed, this, schedule);
    // The view keeps its model for life.
    if (const QAbstractItemModel *pModel = pView->model()) {
        connect(pModel, &QAbstractItemModel::rowsInserted, this, schedule);
        connect(pModel, &QAbstractItemModel::rowsRemoved, this, schedule);
        connect(pModel, &QAbstractItemModel::rowsMoved, this, schedule);
        connect(pModel, &QAbstractItemModel::dataChanged, this, schedule);
        connect(pModel, &QAbstractItemModel::layoutChanged, this, schedule);
        connect(pModel, &QAbstractItemModel::modelReset, this, schedule);
    }
    pView->installEventFilter(this);
    pView->viewport()->installEventFilter(this);
    Schedule();
}

void CTreeColumnSizer::Schedule(bool bMayShrink)
{
    m_bMayShrink = m_bMayShrink || bMayShrink;
    if (m_bScheduled)
        return;
    m_bScheduled = true;
    QTimer::singleShot(0, this, [this] { Fit(m_bMayShrink); });
}

void CTreeColumnSizer::Fit(bool bMayShrink)
{
    m_bScheduled = false;
    m_bMayShrink = false;
    QHeaderView *pHeader = m_pView->header();
    // Public in the base class, protected in the tree's: the call still reaches the tree's.
    const QAbstractItemView *pItemView = m_pView;
    int nWidth = std::max(pItemView->sizeHintForColumn(0), m_pView->viewport()->width());
    if (!bMayShrink)
        nWidth = std::max(nWidth, pHeader->sectionSize(0));
    if (pHeader->sectionSize(0) != nWidth)
        pHeader->resizeSection(0, nWidth);
}

bool CTreeColumnSizer::eventFilter(QObject *pWatched, QEvent *pEvent)
{
    switch (pEvent->type()) {
    case QEvent::Resize:
        // The horizontal scroll bar changes the height, which changes the rows in view: a
        // column that narrowed on that could take the bar away again, and so on for ever.
        if (pWatched == m_pView->viewport()) {
            const auto *pResize = static_cast<QResizeEvent *>(pEvent);
            Schedule(pResize->size().width() != pResize->oldSize().width());
        }
        break;
    case QEvent::FontChange:
    case QEvent::StyleChange:
        if (pWatched == m_pView)
            Schedule();
        break;
    default:
        break;
    }
    return QObject::eventFilter(pWatched, pEvent);
}
