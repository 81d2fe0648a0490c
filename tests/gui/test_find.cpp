// The find dialog in the running program: one dialog per main window in either mode, its
// buttons driving the active window's tree, its histories for the run.

#include "GuiTestKit.h"

#include "ChildFrame.h"
#include "FindItemsDlg.h"
#include "PellixDoc.h"
#include "PellixTreeView.h"
#include "PellixView.h"
#include "Resource.h"
#include "TextFindDlg.h"
#include "TreePath.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace
{

const std::string kShelf = "<shelf><book/><title/><book/></shelf>";

class FindDialogTest : public PellixTest
{
protected:
    void SetUp() override { ASSERT_TRUE(StartApp()); }
    CFindItemsDlg *Open(int nID)
    {
        EXPECT_TRUE(Execute(nID));
        return Main().GetFindDialog();
    }
    static void Click(CFindItemsDlg *pDialog, const char *name)
    {
        auto *pButton = pDialog->findChild<QPushButton *>(QString::fromLatin1(name));
        ASSERT_NE(pButton, nullptr) << name;
        pButton->click();
    }
    static QCheckBox *Box(CFindItemsDlg *pDialog, const char *name)
    {
        return pDialog->findChild<QCheckBox *>(QString::fromLatin1(name));
    }
    void Close(CFindItemsDlg *pDialog)
    {
        pDialog->reject();
        FlushDeletes();
    }
};

} // namespace

TEST_F(FindDialogTest, OneDialogInTheModeThatOpenedIt)
{
    EXPECT_FALSE(IsEnabled(ID_EDIT_FIND));
    ASSERT_NE(OpenDoc(WriteFile("shelf.xml", kShelf)), nullptr);
    CFindItemsDlg *pFind = Open(ID_EDIT_FIND);
    ASSERT_NE(pFind, nullptr);
    EXPECT_TRUE(pFind->isVisible() && !pFind->isModal());
    EXPECT_EQ(pFind->windowTitle(), "Find Items");
    EXPECT_EQ(pFind->parentWidget(), nullptr);
    EXPECT_FALSE(pFind->GetReplaceCombo()->isVisible());
    // Centred on the main window (give or take its frame).
    EXPECT_LE((pFind->frameGeometry().center() - Main().frameGeometry().center()).manhattanLength(),
              10);
    // The field does not scroll: typing stops once it is full.
    QTest::keyClicks(pFind->GetFindCombo()->lineEdit(), QString(300, QLatin1Char('w')));
    EXPECT_GT(pFind->GetFindCombo()->currentText().size(), 5);
    EXPECT_LT(pFind->GetFindCombo()->currentText().size(), 300);
    // Select All and Clear All set the five types and nothing else.
    Box(pFind, "IDC_MATCH_CASE")->setChecked(true);
    Click(pFind, "IDC_SELECT_ALL");
    EXPECT_TRUE(Box(pFind, "IDC_COMMENT")->isChecked() && Box(pFind, "IDC_TEXT")->isChecked());
    Click(pFind, "IDC_CLEAR_ALL");
    for (const char *name :
         {"IDC_ELEMENT", "IDC_ATTR_NAME", "IDC_ATTR_VALUE", "IDC_TEXT", "IDC_COMMENT"})
        EXPECT_FALSE(Box(pFind, name)->isChecked()) << name;
    EXPECT_TRUE(Box(pFind, "IDC_MATCH_CASE")->isChecked());
    // Replace leaves the open dialog as it is.
    EXPECT_EQ(Open(ID_EDIT_REPLACE), pFind);
    EXPECT_FALSE(pFind->IsReplaceMode());
    Close(pFind);
    EXPECT_EQ(Main().GetFindDialog(), nullptr);

    CFindItemsDlg *pReplace = Open(ID_EDIT_REPLACE);
    ASSERT_NE(pReplace, nullptr);
    EXPECT_EQ(pReplace->windowTitle(), "Replace Item");
    EXPECT_EQ(pReplace->parentWidget(), &Main());
    EXPECT_TRUE(pReplace->GetReplaceCombo()->isVisible());
}

TEST_F(FindDialogTest, ButtonsSearchAndRenameInTheActiveWindow)
{
    const QString path = WriteFile("shelf.xml", kShelf);
    CPellixDoc *pDoc = OpenDoc(path);
    ASSERT_NE(pDoc, nullptr);
    CPellixTreeView *pTree = FrameOf(pDoc)->GetTreePane();
    CFindItemsDlg *pDialog = Open(ID_EDIT_REPLACE);
    ASSERT_NE(pDialog, nullptr);

    // Blanks alone search nothing; blanks on the left do not count.
    pDialog->GetFindCombo()->setEditText("   ");
    Click(pDialog, "IDC_FIND_NEXT");
    EXPECT_EQ(pDialog->GetFindCombo()->count(), 0);
    pDialog->GetFindCombo()->setEditText("  book");
    Click(pDialog, "IDC_FIND_NEXT");
    EXPECT_EQ(pTree->GetSelectedItem(), ItemAtPath(pTree, "shelf/book"));
    // Without a replacement nothing is renamed; Replace All renames every match at once.
    Click(pDialog, "IDC_REPLACE_ALL");
    EXPECT_FALSE(pDoc->IsModified());
    pDialog->GetReplaceCombo()->setEditText("volume");
    Click(pDialog, "IDC_REPLACE_ALL");
    ASSERT_TRUE(Execute(ID_FILE_SAVE));
    EXPECT_EQ(ReadBytes(path.toStdString()),
              "<shelf>\t<volume></volume>\r\n\t<title></title>\r\n\t<volume></volume>\r\n"
              "</shelf>\r\n\r\n");

    // The direction is read from the controls at each click.
    pDialog->GetFindCombo()->setEditText("e");
    pDialog->findChild<QRadioButton *>("IDC_UP")->setChecked(true);
    Click(pDialog, "IDC_FIND_NEXT");
    EXPECT_EQ(pTree->GetSelectedItem().GetPrevSibling().GetLabel(), "title");
    // Closing empties the window's match list.
    EXPECT_FALSE(pTree->GetMatches().empty());
    Close(pDialog);
    EXPECT_TRUE(pTree->GetMatches().empty());
}

// With XPath checked the text is an expression: the options of a text search are off and the
// field takes an expression longer than itself.
TEST_F(FindDialogTest, XPathOptionSearchesByExpression)
{
    CPellixDoc *pDoc = OpenDoc(WriteFile("shelf.xml", kShelf));
    ASSERT_NE(pDoc, nullptr);
    CPellixTreeView *pTree = FrameOf(pDoc)->GetTreePane();
    CFindItemsDlg *pDialog = Open(ID_EDIT_FIND);
    ASSERT_NE(pDialog, nullptr);
    QCheckBox *pXPath = Box(pDialog, "IDC_XPATH");
    ASSERT_NE(pXPath, nullptr);
    EXPECT_FALSE(pXPath->isChecked());
    pXPath->setChecked(true);
    for (const char *name : {"IDC_ELEMENT", "IDC_ATTR_VALUE", "IDC_MATCH_CASE", "IDC_WHOLE_TEXT"})
        EXPECT_FALSE(Box(pDialog, name)->isEnabled()) << name;
    const QString expression =
        "/shelf/book[not(@missing)][position() = last()] | //nothing" + QString(200, ' ');
    // Inserted as typed text is: through the field's validator.
    pDialog->GetFindCombo()->lineEdit()->insert(expression);
    EXPECT_EQ(pDialog->GetFindCombo()->currentText(), expression);
    Click(pDialog, "IDC_FIND_NEXT");
    EXPECT_EQ(pTree->GetSelectedItem(), ItemAtPath(pTree, "shelf/title").GetNextSibling());
    EXPECT_EQ(pTree->GetMatches().size(), 1u);

    pXPath->setChecked(false);
    EXPECT_TRUE(Box(pDialog, "IDC_ELEMENT")->isEnabled());
    pDialog->GetFindCombo()->clearEditText();
    pDialog->GetFindCombo()->lineEdit()->insert(expression);
    EXPECT_TRUE(pDialog->GetFindCombo()->currentText().isEmpty());
}

TEST_F(FindDialogTest, TextsTypedAreOfferedSortedForTheRunOnly)
{
    ASSERT_NE(OpenDoc(WriteFile("shelf.xml", kShelf)), nullptr);
    CFindItemsDlg *pDialog = Open(ID_EDIT_REPLACE);
    ASSERT_NE(pDialog, nullptr);
    for (const char *text : {"title", "Book", "book", "alpha"}) {
        pDialog->GetFindCombo()->setEditText(text);
        pDialog->GetReplaceCombo()->setEditText(QString::fromLatin1(text).toUpper());
        Click(pDialog, "IDC_REPLACE");
    }
    Close(pDialog);
    EXPECT_EQ(App().m_strFindHistory, (QStringList{"alpha", "Book", "title"}));
    EXPECT_EQ(App().m_strReplaceHistory, (QStringList{"ALPHA", "BOOK", "TITLE"}));
    pDialog = Open(ID_EDIT_FIND);
    ASSERT_NE(pDialog, nullptr);
    EXPECT_EQ(pDialog->GetFindCombo()->itemText(1), "Book");
    EXPECT_TRUE(pDialog->GetFindCombo()->currentText().isEmpty());
    Close(pDialog);

    ASSERT_TRUE(RestartApp());
    ASSERT_NE(OpenDoc(WriteFile("shelf.xml", kShelf)), nullptr);
    pDialog = Open(ID_EDIT_FIND);
    ASSERT_NE(pDialog, nullptr);
    EXPECT_EQ(pDialog->GetFindCombo()->count(), 0);
}

TEST_F(FindDialogTest, WithTheTextPaneActiveFindAndReplaceWorkOnItsText)
{
    CPellixDoc *pDoc = OpenDoc(WriteFile("shelf.xml", "<shelf a=\"one two one\"/>"));
    ASSERT_NE(pDoc, nullptr);
    CChildFrame *pFrame = FrameOf(pDoc);
    CPellixView *pText = pFrame->GetTextPane();
    pFrame->GetTreePane()->SelectItem(ItemAtPath(pFrame->GetTreePane(), "shelf"));
    pText->SetText("one two one", 0, 2);
    pFrame->SetActiveView(pText);
    ASSERT_TRUE(Execute(ID_EDIT_REPLACE));
    EXPECT_EQ(Main().GetFindDialog(), nullptr);
    CTextFindDlg *pDialog = pText->GetFindDialog();
    ASSERT_NE(pDialog, nullptr);
    pDialog->GetFindEdit()->setText("one");
    pDialog->GetReplaceEdit()->setText("1");
    pDialog->OnReplaceAll();
    pDialog->reject();
    FlushDeletes();
    EXPECT_EQ(pText->GetFindDialog(), nullptr);
    ASSERT_TRUE(Execute(ID_FILE_SAVE));
    EXPECT_NE(ReadBytes(pDoc->GetPathName().toStdString()).find("a=\"1 two 1\""),
              std::string::npos);

    // Back in the tree, Find is the tree's again.
    pFrame->SetActiveView(pFrame->GetTreePane());
    ASSERT_TRUE(Execute(ID_EDIT_FIND));
    EXPECT_NE(Main().GetFindDialog(), nullptr);
}
