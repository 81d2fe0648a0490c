// Find and Replace in the text pane: the pane's own dialog, searching its text both ways and
// round, and replacements that reach the pane's cell.

#include "PanesTestKit.h"

#include "CmdUI.h"
#include "Resource.h"
#include "TextFindDlg.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

namespace
{

class TextFind : public PanesTest
{
protected:
    void SetUp() override
    {
        Fill({{dom::NODE_ATTRIBUTE, "a", "one Two one\nthree one-two"},
              {dom::NODE_ATTRIBUTE, "", ""}});
        ClickCell(0, 2);
        FocusTextPane();
        m_pText->moveCursor(QTextCursor::Start);
    }
    bool IsEnabled(int nID)
    {
        CCmdUI cmdUI(nID);
        RouteUpdateState({m_pText}, cmdUI);
        return cmdUI.IsEnabled();
    }
    CTextFindDlg *Open(int nID)
    {
        EXPECT_TRUE(m_pText->OnCmdMsg(nID, nullptr));
        return m_pText->GetFindDialog();
    }
    // Where the selection starts, and what it holds.
    std::pair<int, QString> Selection() const
    {
        const QTextCursor cursor = m_pText->textCursor();
        return {cursor.selectionStart(), cursor.selectedText()};
    }
};

} // namespace

TEST_F(TextFind, FindNextGoesBothWaysAndRoundTheText)
{
    const QString kFind = QStringLiteral("one");
    for (const int nExpected : {0, 8, 18, 0}) {
        m_pText->OnFindNext(kFind, true, false, false);
        EXPECT_EQ(Selection(), std::make_pair(nExpected, kFind));
    }
    m_pText->OnFindNext(kFind, false, false, false);
    EXPECT_EQ(Selection().first, 18);
    // Case and whole words; a miss leaves the selection.
    EXPECT_FALSE(m_pText->FindText("TWO", true, false, true));
    EXPECT_TRUE(m_pText->FindText("TWO", false, false, true));
    EXPECT_EQ(Selection(), std::make_pair(22, QStringLiteral("two")));
    EXPECT_FALSE(m_pText->FindText("thre", false, true, true));
    EXPECT_EQ(Selection().first, 22);
}

TEST_F(TextFind, TheDialogReplacesAndEveryReplacementReachesTheCell)
{
    // The dialog opens on a selection within one line, in the mode asked for.
    QTextCursor cursor = m_pText->textCursor();
    cursor.setPosition(4);
    cursor.setPosition(7, QTextCursor::KeepAnchor);
    m_pText->setTextCursor(cursor);
    CTextFindDlg *pFind = Open(ID_EDIT_FIND);
    ASSERT_NE(pFind, nullptr);
    EXPECT_EQ(pFind->GetFindEdit()->text(), "Two");
    EXPECT_FALSE(pFind->GetReplaceEdit()->isVisible());
    CTextFindDlg *pDialog = Open(ID_EDIT_REPLACE);
    ASSERT_NE(pDialog, pFind);
    EXPECT_TRUE(pDialog->GetReplaceEdit()->isVisible());

    m_pText->moveCursor(QTextCursor::Start);
    pDialog->GetFindEdit()->setText("one");
    pDialog->GetReplaceEdit()->setText("1");
    pDialog->GetWholeWordBox()->setChecked(true);
    // The first click finds, the second replaces and finds the next.
    pDialog->OnReplace();
    EXPECT_EQ(RowAt(*m_pGrid, 0).strValue, "one Two one\nthree one-two");
    pDialog->OnReplace();
    EXPECT_EQ(RowAt(*m_pGrid, 0).strValue, "1 Two one\nthree one-two");
    EXPECT_EQ(Selection(), std::make_pair(6, QStringLiteral("one")));
    EXPECT_TRUE(IsModified());
    pDialog->GetReplaceEdit()->setText("uno");
    pDialog->OnReplaceAll();
    EXPECT_EQ(RowAt(*m_pGrid, 0).strValue, "1 Two uno\nthree uno-two");
    // One step undoes them all.
    m_pText->undo();
    EXPECT_EQ(RowAt(*m_pGrid, 0).strValue, "1 Two one\nthree one-two");

    // The next dialog starts with this one's text and options.
    pDialog->reject();
    m_pText->moveCursor(QTextCursor::End);
    CTextFindDlg *pNext = Open(ID_EDIT_FIND);
    ASSERT_NE(pNext, nullptr);
    EXPECT_EQ(pNext->GetFindEdit()->text(), "one");
    EXPECT_TRUE(pNext->GetWholeWordBox()->isChecked());
    pNext->GetUpButton()->setChecked(true);
    pNext->OnFindNext();
    EXPECT_EQ(Selection().first, 16);

    m_pText->SetText(QString());
    EXPECT_FALSE(IsEnabled(ID_EDIT_FIND));
}
