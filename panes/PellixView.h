#pragma once

#include "View.h"

#include <QPlainTextEdit>
#include <QPointer>
#include <memory>

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
    void OnTextChanged();
    // Lays the text out in pages for pInfo's printer; returns the page count.
    int LayOutPages(CPrintInfo *pInfo);

    QString m_strText;
    int m_bLocked = 0;
    int m_nTargetRow = -1;
    int m_nTargetCol = -1;
    // Set while SetText replaces the text: that change is not the user's.
    bool m_bSettingText = false;
    // The text laid out for the print job in progress.
    std::unique_ptr<QTextDocument> m_pPrintText;
    int m_nPrintHeaderHeight = 0;
};
