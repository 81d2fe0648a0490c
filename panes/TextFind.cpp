// Find and Replace while the text pane is active: they search and replace in the pane's own
// text, and every replacement reaches the pane's cell like any other change of the text.

#include "PellixView.h"

#include "CmdUI.h"
#include "Resource.h"
#include "TextFindDlg.h"

#include <QApplication>
#include <QTextDocument>

namespace
{
QTextDocument::FindFlags FindFlags(bool bCase, bool bWord, bool bNext)
{
    QTextDocument::FindFlags flags;
    flags.setFlag(QTextDocument::FindCaseSensitively, bCase);
    flags.setFlag(QTextDocument::FindWholeWords, bWord);
    flags.setFlag(QTextDocument::FindBackward, !bNext);
    return flags;
}
} // namespace

void CPellixView::RegisterFindCommands()
{
    OnCommand(ID_EDIT_FIND, [this] { OnEditFindReplace(false); });
    OnCommand(ID_EDIT_REPLACE, [this] { OnEditFindReplace(true); });
    // There is something to search for once the pane holds text.
    for (const int nID : {ID_EDIT_FIND, ID_EDIT_REPLACE}) {
        OnUpdateCommandUI(nID, [this](CCmdUI *pCmdUI) { pCmdUI->Enable(!document()->isEmpty()); });
    }
}

void CPellixView::OnEditFindReplace(bool bReplaceMode)
{
    if (m_pFindDlg != nullptr) {
        if (m_pFindDlg->IsReplaceMode() == bReplaceMode) {
            m_pFindDlg->raise();
            m_pFindDlg->activateWindow();
            return;
        }
        m_pFindDlg->reject();
    }
    // A selection on one line is what the user wants to find; otherwise the last search.
    QString strFind = textCursor().selectedText();
    if (strFind.isEmpty() || strFind.contains(QChar::ParagraphSeparator))
        strFind = CTextFindDlg::GetLastSearch().strFind;
    m_pFindDlg = new CTextFindDlg(this, bReplaceMode, strFind);
    m_pFindDlg->show();
}

CTextFindDlg *CPellixView::GetFindDialog() const
{
    return m_pFindDlg;
}

bool CPellixView::FindText(const QString &strFind, bool bCase, bool bWord, bool bNext)
{
    if (strFind.isEmpty())
        return false;
    const QTextDocument::FindFlags flags = FindFlags(bCase, bWord, bNext);
    QTextCursor found = document()->find(strFind, textCursor(), flags);
    if (found.isNull()) {
        // Once round: on from the other end of the text.
        QTextCursor from(document());
        from.movePosition(bNext ? QTextCursor::Start : QTextCursor::End);
        found = document()->find(strFind, from, flags);
    }
    if (found.isNull())
        return false;
    setTextCursor(found);
    return true;
}

bool CPellixView::SameAsSelected(const QString &strFind, bool bCase) const
{
    const QString strSelected = textCursor().selectedText();
    return !strSelected.isEmpty() &&
           strSelected.compare(strFind, bCase ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0;
}

void CPellixView::OnTextNotFound(const QString & /*strFind*/)
{
    QApplication::beep();
}

void CPellixView::OnFindNext(const QString &strFind, bool bNext, bool bCase, bool bWord)
{
    if (!FindText(strFind, bCase, bWord, bNext))
        OnTextNotFound(strFind);
}

void CPellixView::OnReplaceSel(const QString &strFind, bool bCase, bool bWord,
                               const QString &strReplace)
{
    // The first click finds the text; each further one replaces it and finds the next.
    if (SameAsSelected(strFind, bCase))
        textCursor().insertText(strReplace);
    if (!FindText(strFind, bCase, bWord, true))
        OnTextNotFound(strFind);
}

int CPellixView::OnReplaceAll(const QString &strFind, const QString &strReplace, bool bCase,
                              bool bWord)
{
    if (strFind.isEmpty())
        return 0;
    const QTextDocument::FindFlags flags = FindFlags(bCase, bWord, true);
    // One step to undo, and one change for the cell.
    QTextCursor edit(document());
    edit.beginEditBlock();
    int nReplaced = 0;
    QTextCursor found = document()->find(strFind, 0, flags);
    QTextCursor last;
    while (!found.isNull()) {
        found.insertText(strReplace);
        last = found;
        ++nReplaced;
        found = document()->find(strFind, found, flags);
    }
    edit.endEditBlock();
    if (nReplaced == 0)
        OnTextNotFound(strFind);
    else
        setTextCursor(last);
    return nReplaced;
}
