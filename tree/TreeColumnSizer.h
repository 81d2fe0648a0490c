#pragma once

#include <QObject>

class QTreeView;

// Keeps a header-less tree's single column as wide as the widest label among the rows in
// view (indentation included), and never narrower than the viewport: a label wider than the
// pane brings a horizontal scroll bar. Only the rows on screen are measured, so the cost does
// not grow with the number of items. Fitting is put off to the event loop, once for any
// number of changes.
class CTreeColumnSizer : public QObject
{
    Q_OBJECT

public:
    explicit CTreeColumnSizer(QTreeView *pView);

    // Fits the column now; with bMayShrink false it only ever widens it.
    void Fit(bool bMayShrink = true);

protected:
    bool eventFilter(QObject *pWatched, QEvent *pEvent) override;

private:
    void Schedule(bool bMayShrink = true);

    QTreeView *const m_pView;
    bool m_bScheduled = false;
    bool m_bMayShrink = false;
};
