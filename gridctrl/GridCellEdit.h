#pragma once

#include "GridInplaceEditor.h"

#include <QLineEdit>

class CGridListView;

// The text editor laid over a grid cell. It opens with the cell's text all selected, or with
// the caret where the user clicked. Enter, Tab, Shift+Tab, Up and Down end it and move the cell
// cursor, as do Left at the start and Right at the end of the text; Escape cancels; losing the
// focus commits. Only a text that differs from the cell's (case counts) reaches the list.
// Typing past its right edge widens it to fit, at least to the list's right edge.
class CGridCellEdit : public QLineEdit, public CGridInplaceEditor
{
    Q_OBJECT

public:
    CGridCellEdit(CGridListView *pList, int nRow, int nPos, const QString &strText, bool bByClick,
                  QWidget *pParent);

    // Puts the cell's text in: the caret where the opening click was, else all selected.
    void Start();
    // The width typing has grown the editor to; 0 before it grew.
    int GetGrownWidth() const { return m_nGrownWidth; }

    void CommitEdit() override;
    QString GetEditText() const override { return text(); }

protected:
    bool event(QEvent *pEvent) override;
    void keyPressEvent(QKeyEvent *pEvent) override;
    void focusOutEvent(QFocusEvent *pEvent) override;
    void showEvent(QShowEvent *pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent *pEvent) override;
    void contextMenuEvent(QContextMenuEvent *pEvent) override;

private:
    // Commits, closes and asks the list for the move nCode.
    void Navigate(int nCode);
    // Hands the focus to the list, which ends the editor.
    void LeaveToList();
    void GrowToText();

    CGridListView *const m_pList;
    const int m_nRow;
    const int m_nPos;
    QString m_strInitial;
    const bool m_bByClick;
    int m_nGrownWidth = 0;
    bool m_bCaretPlaced = false;
};
