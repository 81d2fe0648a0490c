#pragma once

#include "View.h"

#include <QPlainTextEdit>
#include <QPointer>
#include <QTextOption>
#include <memory>

class CTextFindDlg;
class QTextDocument;

// The text pane: the full text of the last name or value cell hit in the grid. Every change
// the user makes to it is written into that cell at once, until the pane is locked or given
// another cell.
class CPellixView : public QPlainTextEdit, public CView
{
    Q_OBJECT

public:
    CPellixView(CDocument *pDoc, QWidget *pParent);
    ~CPellixView() override;

    // Shows strText and unlocks; the user's changes go to the cell (nRow, nCol) of the grid
    // (column 1 name, 2 value). Without a cell they reach no row.
    void SetText(const QString &strText, int nRow = -1, int nCol = -1);
    // The pane's text without leading blanks (space, tab, line feed, vertical tab, form feed,
    // carriage return; other spaces are content), kept in m_strText; the pane itself keeps
    // its blanks.
    const QString &GetText();
    // 1: empties the pane, locks it and forgets its cell; 0 only unlocks.
    void SetLocked(int nLocked);
    int IsLocked() const { return m_bLocked; }
    // The grid cell the pane writes into, or -1 when none.
    int GetTargetRow() const { return m_nTargetRow; }
    int GetTargetCol() const { return m_nTargetCol; }

    // Find and Replace in the pane's text. OnEditFindReplace opens the pane's find dialog in
    // that mode (an open one in the other mode gives way), starting with the selection when
    // it lies on one line. FindText selects the next occurrence from the cursor in the
    // direction (bNext: down), going once round the text; false when there is none. The
    // On... operations are the dialog's buttons: a miss beeps; Replace first finds, then
    // replaces the found text and finds the next; Replace All replaces every occurrence as
    // one change and returns how many.
    void OnEditFindReplace(bool bReplaceMode);
    // The open find dialog, or null.
    CTextFindDlg *GetFindDialog() const;
    bool FindText(const QString &strFind, bool bCase, bool bWord, bool bNext);
    void OnFindNext(const QString &strFind, bool bNext, bool bCase, bool bWord);
    void OnReplaceSel(const QString &strFind, bool bCase, bool bWord, const QString &strReplace);
    int OnReplaceAll(const QString &strFind, const QString &strReplace, bool bCase, bool bWord);

signals:
    // The user changed the text: GetText() for the cell (nRow, nCol) of the grid.
    void textEdited(int nRow, int nCol, const QString &strText);

protected:
    bool OnPreparePrinting(CPrintInfo *pInfo) override;
    void OnBeginPrinting(QPainter *pPainter, CPrintInfo *pInfo) override;
    void OnPrint(QPainter *pPainter, CPrintInfo *pInfo) override;
    void OnEndPrinting(QPainter *pPainter, CPrintInfo *pInfo) override;

private:
    void RegisterCommands();
    void RegisterFindCommands();
    // Whether the selection is strFind (in any case without bCase).
    bool SameAsSelected(const QString &strFind, bool bCase) const;
    void OnTextNotFound(const QString &strFind);
    void OnTextChanged();
    // Lays the text out in pages for pInfo's printer; returns the page count.
    int LayOutPages(CPrintInfo *pInfo);

    QString m_strText;
    // How text with ordinary words wraps; see SetText for the other kind.
    QTextOption::WrapMode m_eWordWrap;
    int m_bLocked = 0;
    int m_nTargetRow = -1;
    int m_nTargetCol = -1;
    // Set while SetText replaces the text: that change is not the user's.
    bool m_bSettingText = false;
    // The text laid out for the print job in progress.
    std::unique_ptr<QTextDocument> m_pPrintText;
    int m_nPrintHeaderHeight = 0;
    // The open find dialog, a child of the pane; null when none is.
    QPointer<CTextFindDlg> m_pFindDlg;
};
