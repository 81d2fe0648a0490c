#pragma once

#include "MDIChildWnd.h"

class CEditContext;
class CPellixGridView;
class CPellixTreeView;
class CPellixView;
class CSplitterKeyboard;
class QSplitter;

// A document window: the tree pane on the left, the grid pane above the text pane on the
// right, in two splitters, and the edit context they share. The Insert row commands of the
// document act on the active window's context, so the window makes its context the
// document's active one whenever it becomes active.
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

    CEditContext *GetEditContext() const { return m_pEditContext; }
    CSplitterKeyboard *GetSplitterKeyboard() const { return m_pSplitKeys; }
    // Makes this window's edit context the one the document's commands act on.
    void MakeContextActive();

protected:
    QWidget *OnCreateClient(const QSize &sizeClient) override;

private:
    // Child widgets of this window: they live exactly as long as it does.
    QSplitter *m_wndSplitter = nullptr;
    QSplitter *m_wndSplitter2 = nullptr;
    CPellixTreeView *m_pTreeView = nullptr;
    CPellixGridView *m_pGridView = nullptr;
    CPellixView *m_pTextView = nullptr;
    // Made after the panes, so destroyed after them.
    CEditContext *m_pEditContext = nullptr;
    CSplitterKeyboard *m_pSplitKeys = nullptr;
};
