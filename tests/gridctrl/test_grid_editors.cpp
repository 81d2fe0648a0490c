// The in-place editors driven with real keys and clicks: opening, commit and cancel, the moves
// they ask for, growth, shortcuts, the choice editor's completion, type-ahead and drop list, and
// the context menu an editor shows.
#include "GridCellEdit.h"
#include "GridComboEdit.h"
#include "GridComboLabel.h"
#include "GridIconMenu.h"
#include "GridTestKit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace
{

class GridEditors : public GridTest
{
protected:
    // Opens the editor of (nRow, nPos) with Enter, as from the keyboard.
    QWidget *OpenByEnter(int nRow, int nPos)
    {
        m_pList->ClearSelection();
        m_pList->SetFocusCol(nPos);
        m_pList->SelectFocusedRow(nRow);
        m_pList->setFocus();
        Key(Qt::Key_Return);
        return m_pList->GetCellEditor();
    }
    CGridCellEdit *TextEditor() const
    {
        return qobject_cast<CGridCellEdit *>(m_pList->GetCellEditor());
    }
    CGridComboEdit *ChoiceEditor() const
    {
        return qobject_cast<CGridComboEdit *>(m_pList->GetCellEditor());
    }
    void Type(const QString &strKeys)
    {
        for (const QChar ch : strKeys) {
            QTest::keyClicks(QApplication::focusWidget(), QString(ch));
            QApplication::processEvents();
        }
    }
};

// Shows an editor's context menu and reads the items as it shows them, then closes it.
struct ShownMenuItem {
    QString strText;
    bool bEnabled;
    int nImage;
};
std::vector<ShownMenuItem> ShowContextMenu(QWidget *pField)
{
    std::vector<ShownMenuItem> shown;
    QTimer::singleShot(0, [&shown] {
        auto *pMenu = qobject_cast<CGridIconMenu *>(QApplication::activePopupWidget());
        if (pMenu == nullptr)
            return;
        for (QAction *pAction : pMenu->actions()) {
            const CGridIconMenu::IconMenuItem *pItem = pMenu->ItemOf(pAction);
            shown.push_back({pItem != nullptr ? pItem->strText : QString(), pAction->isEnabled(),
                             pItem != nullptr ? pItem->nImage : -2});
        }
        pMenu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(4, 4),
                            pField->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(pField, &event);
    QApplication::processEvents();
    // As on a desktop, the window is active again once the menu has gone.
    pField->window()->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(pField->window()));
    return shown;
}

// A tool bar of plain squares: buttons 1 and 2, a gap, then Cut, Copy and Paste.
void RegisterTestToolBar()
{
    QPixmap strip(5 * 16, 15);
    strip.fill(Qt::darkGreen);
    CGridIconMenu::RegisterToolBar(
        GRID_MAIN_TOOLBAR,
        {strip, QSize(16, 15), {1, 2, 0, GRID_CMD_CUT, GRID_CMD_COPY, GRID_CMD_PASTE}});
}
} // namespace

TEST_F(GridEditors, TheTextEditorCommitsOnlyAChangeAndEscapeSendsNothing)
{
    m_pList->Fill(NumberedRows(3));
    Click(0, 2);
    // A click opens the editor with the caret where it landed, nothing selected.
    QRect rect;
    ASSERT_TRUE(m_pList->GetCellRect(0, 2, rect));
    const int nPrefix = QFontMetrics(m_pList->font()).horizontalAdvance("valu");
    QTest::mouseClick(m_pList->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(rect.left() + 8 + nPrefix, rect.center().y()));
    CGridCellEdit *pEdit = TextEditor();
    ASSERT_NE(pEdit, nullptr);
    EXPECT_FALSE(pEdit->hasSelectedText());
    EXPECT_GE(pEdit->cursorPosition(), 3);
    EXPECT_LE(pEdit->cursorPosition(), 5);
    Key(Qt::Key_Return);
    EXPECT_EQ(m_pList->GetCellEditor(), nullptr);
    EXPECT_EQ(m_pList->nCommits, 0) << "an unchanged text is no edit";

    // From the keyboard the whole text is selected; Escape throws the typing away.
    pEdit = qobject_cast<CGridCellEdit *>(OpenByEnter(0, 2));
    ASSERT_NE(pEdit, nullptr);
    EXPECT_EQ(pEdit->selectedText(), "value 0");
    Type("typed");
    EXPECT_EQ(m_pList->editorTexts.back(), "typed") << "the owner sees what the editor holds";
    m_pList->hits.clear();
    Key(Qt::Key_Escape);
    EXPECT_EQ(m_pList->GetCellEditor(), nullptr);
    EXPECT_EQ(m_pList->nCommits, 0);
    EXPECT_EQ(m_pList->rows[0][2], "value 0");
    // The owner is told to show the cell's own text again.
    ASSERT_FALSE(m_pList->hits.empty());
    EXPECT_EQ(m_pList->hits.back(), std::make_pair(0, 2));

    // Losing the focus commits; a change of letter case is a change.
    QLineEdit elsewhere(m_pWindow.get());
    elsewhere.show();
    ASSERT_NE(OpenByEnter(0, 2), nullptr);
    Type("Value 0");
    elsewhere.setFocus();
    QApplication::processEvents();
    EXPECT_EQ(m_pList->GetCellEditor(), nullptr);
    EXPECT_EQ(m_pList->nCommits, 1);
    EXPECT_EQ(m_pList->rows[0][2], "Value 0");
    EXPECT_EQ(m_pList->GetCellText(0, 2), "Value 0");
}

TEST_F(GridEditors, ArrowKeysLeaveTheTextEditorOnlyAtTheEndsOfTheText)
{
    m_pList->Fill(NumberedRows(4));
    ASSERT_NE(OpenByEnter(1, 1), nullptr);
    // Left first ends the selection, then leaves at the start of the text.
    Key(Qt::Key_Left);
    ASSERT_NE(TextEditor(), nullptr);
    Key(Qt::Key_Left);
    EXPECT_EQ(m_pList->GetCellEditor(), nullptr);
    EXPECT_EQ(m_pList->GetFocusCol(), 0);

    ASSERT_NE(OpenByEnter(1, 1), nullptr);
    Type("12");
    Key(Qt::Key_Left);
    Key(Qt::Key_Right);
    ASSERT_NE(TextEditor(), nullptr) << "Right inside the text moves the caret";
    Key(Qt::Key_Right);
    EXPECT_EQ(m_pList->GetCellEditor(), nullptr);
    EXPECT_EQ(m_pList->GetFocusCol(), 2);
    EXPECT_EQ(m_pList->rows[1][1], "12") << "leaving by an arrow commits";

    // Up reaches row 0; Down never moves into the last row.
    ASSERT_NE(OpenByEnter(1, 2), nullptr);
    Key(Qt::Key_Up);
    EXPECT_EQ(m_pList->GetFocusedRow(), 0);
    ASSERT_NE(OpenByEnter(1, 2), nullptr);
    Key(Qt::Key_Down);
    EXPECT_EQ(m_pList->GetFocusedRow(), 2);
    ASSERT_NE(OpenByEnter(2, 2), nullptr);
    Key(Qt::Key_Down);
    EXPECT_EQ(m_pList->GetFocusedRow(), 2);
    EXPECT_EQ(m_pList->GetSelectedRows(), std::vector<int>{2});

    // Shift+Tab opens the previous editable cell.
    ASSERT_NE(OpenByEnter(2, 1), nullptr);
    Key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(m_pList->GetFocusCol(), 0);
    EXPECT_NE(ChoiceEditor(), nullptr);
}

TEST_F(GridEditors, TypingPastTheEdgeWidensTheEditorToTheListsRightEdge)
{
    m_pList->SetColumns({{0, "Kind", COLDEF_COMBOEDIT, 60},
                         {1, "Name", COLDEF_TEXTEDIT, 60},
                         {2, "Value", COLDEF_TEXTEDIT, 60}});
    m_pList->Fill(NumberedRows(2));
    CGridCellEdit *pEdit = qobject_cast<CGridCellEdit *>(OpenByEnter(0, 1));
    ASSERT_NE(pEdit, nullptr);
    const int nStart = pEdit->width();
    Type("ab");
    EXPECT_EQ(pEdit->width(), nStart) << "a short text keeps the cell's width";
    Type("cdefghijklmnopqrstuvwxyz");
    const int nRight = m_pList->viewport()->rect().right();
    EXPECT_GE(pEdit->geometry().right() + 1, nRight);
    EXPECT_GE(pEdit->width(), QFontMetrics(m_pList->font()).horizontalAdvance(pEdit->text()) + 5);
}

TEST_F(GridEditors, EditingKeysStayInTheEditorOtherShortcutsAndDoubleClicksReachTheWindow)
{
    m_pList->Fill(NumberedRows(2));
    QAction undoAction(m_pWindow.get());
    undoAction.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction saveAction(m_pWindow.get());
    saveAction.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_pWindow->addAction(&undoAction);
    m_pWindow->addAction(&saveAction);
    QSignalSpy undos(&undoAction, &QAction::triggered);
    QSignalSpy saves(&saveAction, &QAction::triggered);
    QSignalSpy doubleClicks(m_pList, &CGridListView::doubleClicked);

    CGridCellEdit *pEdit = qobject_cast<CGridCellEdit *>(OpenByEnter(0, 2));
    ASSERT_NE(pEdit, nullptr);
    Type("abc");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(undos.count(), 0);
    EXPECT_NE(pEdit->text(), "abc") << "Ctrl+Z undid the typing in the cell";
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(saves.count(), 1) << "a key the editor has no use for is the window's";

    QTest::mouseDClick(pEdit, Qt::LeftButton, Qt::NoModifier, QPoint(4, pEdit->height() / 2));
    EXPECT_EQ(doubleClicks.count(), 1);
    ASSERT_EQ(m_pList->GetCellEditor(), pEdit) << "a double click does not end the edit";

    // Control+M types a carriage return: the edit ends and is kept.
    pEdit->setText("by ctrl m");
    QKeyEvent ctrlM(QEvent::KeyPress, Qt::Key_M, Qt::ControlModifier, QStringLiteral("\r"));
    QApplication::sendEvent(pEdit, &ctrlM);
    QApplication::processEvents();
    EXPECT_EQ(m_pList->GetCellEditor(), nullptr);
    EXPECT_EQ(m_pList->rows[0][2], "by ctrl m");
}

TEST_F(GridEditors, TheFieldCompletesAPrefixAndBackspaceNeverCompletes)
{
    m_pList->choices = {"Abc", "Abd", "Xyz"};
    m_pList->Fill(NumberedRows(1));
    auto *pCombo = qobject_cast<CGridComboEdit *>(OpenByEnter(0, 0));
    ASSERT_NE(pCombo, nullptr);
    ASSERT_NE(pCombo->GetField(), nullptr);
    EXPECT_EQ(pCombo->GetCurrentIndex(), -1) << "One is not among the choices";
    Type("a");
    EXPECT_EQ(pCombo->GetField()->text(), "Abc");
    EXPECT_EQ(pCombo->GetField()->selectedText(), "bc");
    Type("b");
    EXPECT_EQ(pCombo->GetField()->text(), "Abc");
    EXPECT_EQ(pCombo->GetField()->selectedText(), "c");
    Key(Qt::Key_Backspace);
    EXPECT_EQ(pCombo->GetField()->text(), "Ab");
    // Characters that are no choice's are typed as they are.
    Type("(%");
    EXPECT_EQ(pCombo->GetField()->text(), "Ab(%");

    // Up and Down step through the choices by their order, and stop at the ends.
    Key(Qt::Key_Down);
    EXPECT_EQ(pCombo->GetField()->text(), "Abc");
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(pCombo->GetField()->text(), "Xyz");
    Key(Qt::Key_Up);
    EXPECT_EQ(pCombo->GetField()->text(), "Abd");
    EXPECT_EQ(m_pList->nCommits, 0);
    Key(Qt::Key_Return);
    EXPECT_EQ(m_pList->GetCellEditor(), nullptr);
    EXPECT_EQ(m_pList->rows[0][0], "Abd");
    EXPECT_EQ(m_pList->nCommits, 1);
}

TEST_F(GridEditors, ListOnlyTypeAheadFindsTheNextChoiceWithTheLetterAndWraps)
{
    m_pList->SetColumns({{0, "Kind", COLDEF_LISTEDIT, 100},
                         {1, "Name", COLDEF_TEXTEDIT, 100},
                         {2, "Value", COLDEF_TEXTEDIT, 100}});
    m_pList->choices = {"alpha", "beta", "apple", "gamma"};
    m_pList->Fill({{"beta", "n", "v"}});
    auto *pCombo = qobject_cast<CGridComboEdit *>(OpenByEnter(0, 0));
    ASSERT_NE(pCombo, nullptr);
    ASSERT_NE(pCombo->GetLabel(), nullptr);
    EXPECT_EQ(pCombo->GetField(), nullptr);
    EXPECT_EQ(pCombo->GetCurrentIndex(), 1);
    Type("a");
    EXPECT_EQ(pCombo->GetLabel()->GetText(), "apple");
    Type("a");
    EXPECT_EQ(pCombo->GetLabel()->GetText(), "apple") << "the same letter keeps the choice";
    Type("g");
    EXPECT_EQ(pCombo->GetLabel()->GetText(), "gamma");
    Type("a");
    EXPECT_EQ(pCombo->GetLabel()->GetText(), "alpha") << "the search wraps to the start";
    EXPECT_EQ(m_pList->nCommits, 0);

    // Tab commits the choice and opens the next cell.
    Key(Qt::Key_Tab);
    EXPECT_EQ(m_pList->rows[0][0], "alpha");
    EXPECT_EQ(m_pList->GetFocusCol(), 1);
    EXPECT_NE(TextEditor(), nullptr);
}

TEST_F(GridEditors, TheDropListIsSortedShortAndEscapeClosesOnlyTheList)
{
    QStringList choices;
    for (int i = 19; i >= 0; --i)
        choices << QStringLiteral("choice %1").arg(i, 2, 10, QLatin1Char('0'));
    m_pList->choices = choices;
    m_pList->Fill({{"choice 07", "n", "v"}});
    CGridComboEdit *pCombo = qobject_cast<CGridComboEdit *>(OpenByEnter(0, 0));
    ASSERT_NE(pCombo, nullptr);
    QTest::mouseClick(pCombo, Qt::LeftButton, Qt::NoModifier, pCombo->ButtonRect().center());
    CGridComboDropList *pList = pCombo->GetDropList();
    ASSERT_NE(pList, nullptr);
    ASSERT_EQ(pList->count(), 20);
    EXPECT_EQ(pList->item(0)->text(), "choice 00");
    EXPECT_EQ(pList->item(19)->text(), "choice 19");
    EXPECT_LE(pList->height(), CGridComboDropList::kMaxHeight);
    EXPECT_EQ(pList->width(), pCombo->width());
    ASSERT_NE(pList->currentItem(), nullptr);
    EXPECT_EQ(pList->currentItem()->text(), "choice 07");
    EXPECT_TRUE(pList->hasFocus());

    Key(Qt::Key_Escape);
    EXPECT_FALSE(pCombo->IsDropped());
    ASSERT_EQ(m_pList->GetCellEditor(), pCombo) << "the editor stays open";

    // Choosing the text already in the cell commits nothing.
    QTest::mouseClick(pCombo, Qt::LeftButton, Qt::NoModifier, pCombo->ButtonRect().center());
    ASSERT_TRUE(pCombo->IsDropped());
    Key(Qt::Key_Return);
    EXPECT_FALSE(pCombo->IsDropped());
    EXPECT_EQ(pCombo->GetEditText(), "choice 07");
    Key(Qt::Key_Return);
    EXPECT_EQ(m_pList->GetCellEditor(), nullptr);
    EXPECT_EQ(m_pList->nCommits, 0);

    // An owner that gives no choices gets an editor without a list.
    m_pList->choices.clear();
    m_pList->bAnswerWithoutChoices = true;
    pCombo = qobject_cast<CGridComboEdit *>(OpenByEnter(0, 0));
    ASSERT_NE(pCombo, nullptr);
    QTest::mouseClick(pCombo, Qt::LeftButton, Qt::NoModifier, pCombo->ButtonRect().center());
    EXPECT_FALSE(pCombo->IsDropped());
}

TEST_F(GridEditors, FocusMovesWithinTheChoiceEditorKeepItAndLeavingItCommits)
{
    m_pList->Fill(NumberedRows(1));
    QLineEdit elsewhere(m_pWindow.get());
    elsewhere.show();
    CGridComboEdit *pCombo = qobject_cast<CGridComboEdit *>(OpenByEnter(0, 0));
    ASSERT_NE(pCombo, nullptr);
    Type("tw");
    EXPECT_EQ(pCombo->GetEditText(), "Two");
    QTest::mouseClick(pCombo, Qt::LeftButton, Qt::NoModifier, pCombo->ButtonRect().center());
    ASSERT_TRUE(pCombo->IsDropped());
    EXPECT_EQ(m_pList->GetCellEditor(), pCombo);
    EXPECT_EQ(m_pList->nCommits, 0);
    elsewhere.setFocus();
    QApplication::processEvents();
    EXPECT_EQ(m_pList->GetCellEditor(), nullptr);
    EXPECT_EQ(m_pList->rows[0][0], "Two");
}

TEST_F(GridEditors, TheContextMenuShowsTheEditorsStatesAndTheToolBarImages)
{
    RegisterTestToolBar();
    m_pList->Fill(NumberedRows(1));
    QApplication::clipboard()->setText("clip");
    CGridCellEdit *pEdit = qobject_cast<CGridCellEdit *>(OpenByEnter(0, 2));
    ASSERT_NE(pEdit, nullptr);
    std::vector<ShownMenuItem> shown = ShowContextMenu(pEdit);
    ASSERT_EQ(shown.size(), 6u);
    const std::vector<QString> texts = {"&Undo", "--", "&Cut", "&Copy", "&Paste", "&Delete Item"};
    for (size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(shown[i].strText, texts[i]);
    // Nothing typed: no Undo. The text is selected: Cut and Copy. Text on the clipboard: Paste.
    EXPECT_FALSE(shown[0].bEnabled);
    EXPECT_TRUE(shown[2].bEnabled);
    EXPECT_TRUE(shown[3].bEnabled);
    EXPECT_TRUE(shown[4].bEnabled);
    EXPECT_TRUE(shown[5].bEnabled);
    EXPECT_EQ(shown[0].nImage, -1);
    EXPECT_EQ(shown[2].nImage, 2);
    EXPECT_EQ(shown[3].nImage, 3);
    EXPECT_EQ(shown[4].nImage, 4);
    EXPECT_EQ(shown[5].nImage, -1);
    ASSERT_EQ(m_pList->GetCellEditor(), pEdit) << "the menu does not end the edit";

    Type("x");
    pEdit->deselect();
    QApplication::clipboard()->clear();
    shown = ShowContextMenu(pEdit);
    ASSERT_EQ(shown.size(), 6u);
    EXPECT_TRUE(shown[0].bEnabled);
    EXPECT_FALSE(shown[2].bEnabled);
    EXPECT_FALSE(shown[3].bEnabled);
    EXPECT_FALSE(shown[4].bEnabled);

    // The choice field offers Delete Item greyed.
    Key(Qt::Key_Escape);
    auto *pCombo = qobject_cast<CGridComboEdit *>(OpenByEnter(0, 0));
    ASSERT_NE(pCombo, nullptr);
    shown = ShowContextMenu(pCombo->GetField());
    ASSERT_EQ(shown.size(), 6u);
    EXPECT_FALSE(shown[5].bEnabled);
    EXPECT_TRUE(shown[3].bEnabled);
    CGridIconMenu::UnregisterToolBar(GRID_MAIN_TOOLBAR);
}
