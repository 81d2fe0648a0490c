#pragma once

#include <QLineEdit>

class CGridComboEdit;

// The edit field of an editable choice editor. Up and Down step through the choices; Left and
// Right move the caret; every other key edits the field, Control shortcuts included. Typing
// completes from the choices; Backspace and Delete never complete again.
class CGridComboEditField : public QLineEdit
{
    Q_OBJECT

public:
    CGridComboEditField(CGridComboEdit *pOwner, bool bByClick);

    // The text at opening, with the caret at the opening click or all selected.
    void Start(const QString &strText);
    // Set by Backspace and Delete: the change they make is not completed.
    bool TakeSuppressAutoComplete();

protected:
    bool event(QEvent *pEvent) override;
    void keyPressEvent(QKeyEvent *pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent *pEvent) override;
    void showEvent(QShowEvent *pEvent) override;
    void contextMenuEvent(QContextMenuEvent *pEvent) override;

private:
    CGridComboEdit *const m_pOwner;
    const bool m_bByClick;
    bool m_bSuppressAutoComplete = false;
    bool m_bCaretPlaced = false;
};
