#include "PellixView.h"

#include "CmdUI.h"
#include "EditorUndo.h"
#include "Resource.h"
#include "XmlRules.h"

#include <QTextDocument>

namespace
{
// Words up to this long wrap at their boundaries; see SetText.
constexpr qsizetype kLongestWrappedWord = 2000;

bool HasLongWord(const QString &strText)
{
    qsizetype nRun = 0;
    for (const QChar c : strText) {
        nRun = c.isSpace() ? 0 : nRun + 1;
        if (nRun > kLongestWrappedWord)
            return true;
    }
    return false;
}
} // namespace

CPellixView::CPellixView(CDocument *pDoc, QWidget *pParent)
    : QPlainTextEdit(pParent), CView(this, pDoc), m_eWordWrap(wordWrapMode())
{
    // textChanged covers typing, Delete, Backspace, Enter, Tab, Paste, Cut, Undo and Redo alike.
    connect(this, &QPlainTextEdit::textChanged, this, &CPellixView::OnTextChanged);
    RegisterCommands();
    EnablePrintCommands();
}

CPellixView::~CPellixView() = default;

void CPellixView::RegisterCommands()
{
    OnCommand(ID_EDIT_CUT, [this] { cut(); });
    OnCommand(ID_EDIT_COPY, [this] { copy(); });
    OnCommand(ID_EDIT_PASTE, [this] { paste(); });
    // Undo and Redo act on the pane's own text; the document's steps are undone from the
    // tree and the grid.
    for (const int nID : {ID_EDIT_UNDO, ID_EDIT_REDO}) {
        OnCommand(nID, [this, nID] { EditorUndoCommand(this, nID, nullptr); });
        OnUpdateCommandUI(
            nID, [this](CCmdUI *pCmdUI) { EditorUndoCommand(this, pCmdUI->m_nID, pCmdUI); });
    }
    const auto enableOnSelection = [this](CCmdUI *pCmdUI) {
        pCmdUI->Enable(textCursor().hasSelection());
    };
    OnUpdateCommandUI(ID_EDIT_CUT, enableOnSelection);
    OnUpdateCommandUI(ID_EDIT_COPY, enableOnSelection);
    OnUpdateCommandUI(ID_EDIT_PASTE, [this](CCmdUI *pCmdUI) { pCmdUI->Enable(canPaste()); });
    RegisterFindCommands();
}

void CPellixView::SetText(const QString &strText, int nRow, int nCol)
{
    // The cell shown again with the text the pane already holds (its rows were read again):
    // the caret and the pane's undo stay as they are.
    if (m_bLocked == 0 && nRow >= 0 && nRow == m_nTargetRow && nCol == m_nTargetCol &&
        strText == toPlainText())
        return;
    m_strText = strText;
    m_bLocked = 0;
    m_nTargetRow = nRow;
    m_nTargetCol = nCol;
    m_bSettingText = true;
    // Wrapping at word boundaries looks for a break all along a word, again for each line the
    // word fills: a value of 400,000 characters without a blank (an encoded image, say) took
    // 16 s to show. Text with such a word wraps anywhere, which costs its length. The old text
    // goes first, so that it is not laid out again in the new mode.
    const QTextOption::WrapMode eWrap =
        HasLongWord(strText) ? QTextOption::WrapAnywhere : m_eWordWrap;
    if (eWrap != wordWrapMode()) {
        clear();
        setWordWrapMode(eWrap);
    }
    setPlainText(strText);
    m_bSettingText = false;
}

const QString &CPellixView::GetText()
{
    // toPlainText() turns no-break spaces into blanks; the raw text keeps every character and
    // only needs its paragraph breaks turned back into line feeds.
    m_strText = document()->toRawText();
    m_strText.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    m_strText.replace(QChar::LineSeparator, QLatin1Char('\n'));
    qsizetype nFirst = 0;
    while (nFirst < m_strText.size() && IsBlank(m_strText[nFirst].unicode()))
        ++nFirst;
    m_strText.remove(0, nFirst);
    return m_strText;
}

void CPellixView::SetLocked(int nLocked)
{
    if (nLocked == 1)
        SetText(QString());
    m_bLocked = nLocked;
}

void CPellixView::OnTextChanged()
{
    if (m_bSettingText || m_bLocked != 0 || m_nTargetRow < 0)
        return;
    emit textEdited(m_nTargetRow, m_nTargetCol, GetText());
}
