#pragma once

#include "CmdTarget.h"

#include "PrintInfo.h"

#include <QPointer>
#include <optional>

class CDocument;
class CMDIChildWnd;
class QPainter;
class QPrinter;
class QWidget;

// A pane that shows a document. Mix it into any QWidget pane:
//     class CTreePane : public QTreeView, public CView {
//     public:
//         CTreePane(CDocument *pDoc, QWidget *pParent) : QTreeView(pParent), CView(this, pDoc) {}
//     };
// The view registers with its document at construction and leaves it at destruction. While
// the focus is in the pane (or a widget inside it) it is its child window's active view and
// the first target of the command route.
class CView : public CCmdTarget
{
public:
    CView(QWidget *pWidget, CDocument *pDocument);
    ~CView() override;

    // The document, or null once it was destroyed.
    CDocument *GetDocument() const;
    QWidget *GetWidget() const { return m_pWidget; }
    // The child window holding the pane, or null while it is not in one.
    CMDIChildWnd *GetParentFrame() const;

    // Called once the document's New or Open has run and before the window is shown.
    virtual void OnInitialUpdate() {}
    // Called when the view becomes (true) or stops being (false) its window's active view.
    virtual void OnActivateView(bool /*bActivate*/) {}

    // The view that `pWidget` is or lies inside, or null.
    static CView *FromWidget(QWidget *pWidget);

    // Printing. A pane that prints calls EnablePrintCommands() (Print, direct Print and
    // Print Preview then reach it) and overrides the hooks below, or PrintDocument as a whole.
    void EnablePrintCommands();
    // Print: the print dialog on the application's printer, then the job.
    void OnFilePrint();
    // Direct print: the job on the application's printer without a dialog.
    void OnFilePrintDirect();
    void OnFilePrintPreview();
    // Runs the job on `pPrinter`: OnBeginPrinting, OnPrint for each page of the range the
    // printer asks for (all pages when it names none), OnEndPrinting.
    virtual void PrintDocument(QPrinter *pPrinter, CPrintInfo *pInfo);

protected:
    // Sets the page range; false cancels the job before any dialog shows.
    virtual bool OnPreparePrinting(CPrintInfo * /*pInfo*/) { return true; }
    virtual void OnBeginPrinting(QPainter * /*pPainter*/, CPrintInfo * /*pInfo*/) {}
    virtual void OnPrint(QPainter * /*pPainter*/, CPrintInfo * /*pInfo*/) {}
    virtual void OnEndPrinting(QPainter * /*pPainter*/, CPrintInfo * /*pInfo*/) {}

private:
    // The job on the application's printer, or nothing without a printer or when the view
    // declined in OnPreparePrinting.
    std::optional<CPrintInfo> PreparePrintJob(bool bDirect, bool bPreview);

    QWidget *const m_pWidget;
    QPointer<CDocument> m_pDocument;
};
