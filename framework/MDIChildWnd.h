#pragma once

#include "CmdTarget.h"

#include <QMdiSubWindow>
#include <QPointer>
#include <vector>

class CDocument;
class CMDIFrameWnd;
class CView;

// A document window inside the main window. The application's child window derives from it
// and builds its panes in OnCreateClient. Closing the document's last window asks to save
// and then destroys the document; closing one of several windows closes only that window.
class CMDIChildWnd : public QMdiSubWindow, public CCmdTarget
{
    Q_OBJECT

public:
    explicit CMDIChildWnd(QWidget *pParent = nullptr);
    ~CMDIChildWnd() override;

    // Joins `pDocument`, builds the panes and adds the (still hidden) window to the main
    // window's MDI area. Returns false when OnCreateClient failed.
    bool LoadFrame(CDocument *pDocument, CMDIFrameWnd *pMainFrame);

    // The document shown, or null after it was closed.
    CDocument *GetActiveDocument() const;
    CMDIFrameWnd *GetMDIFrame() const;

    // The pane that last had the focus in this window (the first pane until then), or null.
    CView *GetActiveView() const;
    void SetActiveView(CView *pView, bool bFocus = true);
    // The document's views that lie in this window, in creation order.
    std::vector<CView *> GetViews() const;

    // Shows the window and makes it the active child with its active view focused.
    void ActivateFrame();
    // F6 / Shift+F6: the focus moves to the next or previous pane of this window.
    void ActivateNextPane(bool bNext);

    // 0 for a document's only window, else its number (the title gets ":n").
    int GetWindowNumber() const { return m_nWindow; }
    void SetWindowNumber(int nWindow);
    // Titles the window from the document title and window number.
    virtual void OnUpdateFrameTitle();

    // Closes the window without asking; used by the document when it closes.
    void CloseForDocument();
    // Forgets the main window; used by the main window as it is destroyed.
    void DetachFromMainFrame();

protected:
    // Builds the panes (views constructed with GetActiveDocument()) and returns the widget
    // that fills the window, or null to abandon the window. `sizeClient` is the size the
    // window is about to get.
    virtual QWidget *OnCreateClient(const QSize &sizeClient) = 0;

    void closeEvent(QCloseEvent *pEvent) override;
    void changeEvent(QEvent *pEvent) override;

private:
    void AddCloseKey();
    void DetachFromDocument();

    QPointer<CDocument> m_pDocument;
    QPointer<CMDIFrameWnd> m_pMDIFrame;
    QPointer<QWidget> m_pActiveView; // the active view's widget: it may be destroyed first
    int m_nWindow = 0;
    bool m_bClosingForDocument = false;
};
