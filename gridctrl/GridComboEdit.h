#pragma once

#include "GridComboDropList.h"
#include "GridComboEditField.h"
#include "GridInplaceEditor.h"

#include <QColor>
#include <QFont>
#include <QPointer>
#include <QStringList>
#include <QWidget>

class CGridListView;
class CGridComboLabel;
class QKeyEvent;

// The choice editor laid over a grid cell: the current choice in a label (list-only) or in an
// edit field that completes what is typed from the choices (editable), and a drop button that
// opens a sorted list of the choices under the editor. Up and Down step through the choices;
// Tab, Shift+Tab and, in list-only mode, Left and Right end it and move the cell cursor; Enter
// commits; Escape cancels; a letter or digit in list-only mode jumps to the next choice that
// starts with it. Focus may move between the editor, its field and its list; leaving them all
// commits. A text equal to the cell's text at opening is no edit.
class CGridComboEdit : public QWidget, public CGridInplaceEditor
{
    Q_OBJECT

public:
    CGridComboEdit(CGridListView *pList, int nRow, int nPos, const QString &strText,
                   const QStringList &choices, bool bEditable, bool bByClick, QWidget *pParent);
    ~CGridComboEdit() override;

    // The font and text colour of the cell; before Start.
    void SetCellFont(const QFont &font) { m_font = font; }
    void SetTextColor(const QColor &crText) { m_crText = crText; }
    void SetAutoComplete(bool bOn) { m_bAutoComplete = bOn; }
    // Makes the field or the label, finds the current choice and takes the focus.
    void Start();

    // A choice made in the field or the drop list: shows the text; a non-negative index becomes
    // the current choice. Nothing is committed yet.
    void SetChoice(int nIndex, const QString &strText);
    // Up and Down: the choice at nIndex, when there is one.
    void SelectChoice(int nIndex);
    // List-only type-ahead: the next choice (from the current one, wrapping) starting with ch.
    void TypeAhead(QChar ch);
    // Completes the field's text from the choices (the field calls it on each typed change).
    void AutoComplete();
    // The keys the editor handles for itself and its field; true when handled.
    bool HandleKey(QKeyEvent *pEvent, bool bFromField);

    // Commits pGiven, else the label's or the field's text.
    void Commit(const QString *pGiven = nullptr);
    void CommitEdit() override { Commit(); }
    QString GetEditText() const override;

    void ToggleDropList();
    // Closes an open drop list; the focus goes back to the editor when bFocusBack.
    void CloseDropList(bool bFocusBack);
    // The drop list chose the entry at list row nIndex.
    void OnDropListChoice(int nIndex, const QString &strText);

    bool IsEditable() const { return m_bEditable; }
    const QStringList &GetChoices() const { return m_choices; }
    int GetCurrentIndex() const { return m_nCurrent; }
    CGridComboEditField *GetField() const { return m_pField; }
    CGridComboLabel *GetLabel() const { return m_pLabel; }
    CGridComboDropList *GetDropList() const { return m_pDropList; }
    bool IsDropped() const { return m_pDropList != nullptr; }
    QRect ButtonRect() const;
    CGridListView *GetList() const { return m_pList; }

protected:
    bool event(QEvent *pEvent) override;
    void paintEvent(QPaintEvent *pEvent) override;
    void mousePressEvent(QMouseEvent *pEvent) override;
    void keyPressEvent(QKeyEvent *pEvent) override;
    void resizeEvent(QResizeEvent *pEvent) override;

private:
    void OnFocusChanged(QWidget *pOld, QWidget *pNow);
    // The editor, its children and its drop list.
    bool IsOwnWidget(const QWidget *pWidget) const;
    void ShowText(const QString &strText);
    void NavigateAway(int nCode);
    void LeaveToList();
    void End();

    CGridListView *const m_pList;
    const int m_nRow;
    const int m_nPos;
    QString m_strInitial;
    QStringList m_choices;
    const bool m_bEditable;
    const bool m_bByClick;
    int m_nCurrent = -1;
    int m_nButtonWidth = 16;
    QFont m_font;
    QColor m_crText;
    bool m_bAutoComplete = true;
    CGridComboEditField *m_pField = nullptr;
    CGridComboLabel *m_pLabel = nullptr;
    QPointer<CGridComboDropList> m_pDropList;
    QString m_strLastText;
};
