#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QSplitter;

// Window > Split: moves a window's splitter bars from the keyboard. While it runs, Left and
// Right move the bar between the tree and the right-hand panes, Up and Down the bar between
// the grid and the text pane (Ctrl for single pixels); Enter keeps the new sizes, Escape puts
// the old ones back. A mouse click also ends it, keeping what was set.
class CSplitterKeyboard : public QObject
{
    Q_OBJECT

public:
    CSplitterKeyboard(QSplitter *pOuter, QSplitter *pInner, QObject *pParent);
    ~CSplitterKeyboard() override;

    void Start();
    bool IsActive() const { return m_bActive; }
    // Pixels a key press moves a bar without Ctrl.
    static constexpr int kStep = 8;

protected:
    bool eventFilter(QObject *pWatched, QEvent *pEvent) override;

private:
    void Finish(bool bKeep);
    static void Move(QSplitter *pSplitter, int nDelta);

    QPointer<QSplitter> m_pOuter;
    QPointer<QSplitter> m_pInner;
    QList<int> m_outerSizes;
    QList<int> m_innerSizes;
    bool m_bActive = false;
};
