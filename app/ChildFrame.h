#pragma once

#include "MDIChildWnd.h"

class CPellixGridView;
class CPellixTreeView;
class CPellixView;
class QSplitter;

// A document window: the tree pane on the left, the grid pane above the text pane on the
// right, in two splitters. The document works with the panes of the active window, so the
// window hands its panes to the document whenever it becomes active.
class CChildFrame : public CMDIChildWnd
{
    Q_OBJECT

public:
    explicit CChildFrame(QWidget *pParent = nullptr);
    ~CChildFrame() override;

    static constexpr int kTreePaneWidth = 200;
    // The grid pane's ideal height for a window created `cy` pixels high.
    static int GridPaneIdealHeight(int cy);

    CPellixTreeView *GetTreePane() const { return m_pTreeView; }
    CPellixGridView *GetGridPane() const { return m_pGridView; }
    CPellixView *GetTextPane() const { return m_pTextView; }
    QSplitter *GetSplitter() const { return m_wndSplitter; }
    QSplitter *GetInnerSplitter() const { return m_wndSplitter2; }

    // Connects this window's panes with each other and makes them the document's.
    void WirePanes();

protected:
    QWidget *OnCreateClient(const QSize &sizeClient) override;

private:
    // Child widgets of this window: they live exactly as long as it does.
    QSplitter *m_wndSplitter = nullptr;
    QSplitter *m_wndSplitter2 = nullptr;
    CPellixTreeView *m_pTreeView = nullptr;
    CPellixGridView *m_pGridView = nullptr;
    CPellixView *m_pTextView = nullptr;
};
