// The cell cursor: hit tests, clicks that select and then edit, keys, the moves an editor asks
// for, commits through the owner and the cell tip trigger.
#include "GridComboEdit.h"
#include "GridTestKit.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>


using GridCursor = GridTest;

TEST_F(GridCursor, HitTestsFindTheCellUnderAPointAndRememberTheHit)
{
    m_pList->Fill(NumberedRows(3));
    EXPECT_EQ(m_pList->m_nHitRow, -1);
    int nPos = -1;
    // Column edges: 0..100, 100..220, 220..420; a point on a divider hits the left cell.
    const int y = CellCenter(1, 0).y();
    EXPECT_EQ(m_pList->HitTestCell(QPoint(100, y), nPos), 1);
    EXPECT_EQ(nPos, 0);
    EXPECT_EQ(m_pList->HitTestCell(QPoint(101, y), nPos), 1);
    EXPECT_EQ(nPos, 1);
    EXPECT_EQ(m_pList->m_nHitRow, 1);
    EXPECT_EQ(m_pList->m_nHitCol, 1);
    EXPECT_EQ(m_pList->hits.back(), std::make_pair(1, 1));
    // Right of the last column, or below the last row: no hit, and the last hit stays.
    EXPECT_EQ(m_pList->HitTestCell(QPoint(450, y), nPos), -1);
    EXPECT_EQ(nPos, 0);
    EXPECT_EQ(m_pList->HitTestCell(QPoint(50, 250), nPos), -1);
    EXPECT_EQ(m_pList->m_nHitCol, 1);

    QRect rect;
    EXPECT_EQ(m_pList->GetCellRectAt(QPoint(300, y), rect, nPos), 1);
    EXPECT_EQ(nPos, 2);
    EXPECT_EQ(rect.left(), 220);
    // Cut at the viewport's right edge.
    m_pList->horizontalHeader()->resizeSection(2, 1000);
    EXPECT_EQ(m_pList->GetCellRectAt(QPoint(300, y), rect, nPos), 1);
    EXPECT_EQ(rect.right(), m_pList->viewport()->width() - 1);
    EXPECT_EQ(m_pList->GetCellRectAt(QPoint(m_pList->viewport()->width(), y), rect, nPos), -1);
}

TEST_F(GridCursor, CellRectsRefuseNarrowColumnsAndEnsureColumnVisibleScrolls)
{
    m_pList->Fill(NumberedRows(2));
    QRect rect(1, 2, 3, 4);
    m_pList->horizontalHeader()->resizeSection(0, 4);
    EXPECT_FALSE(m_pList->GetCellRect(0, 0, rect));
    EXPECT_FALSE(m_pList->GetCellRect(0, 3, rect));
    EXPECT_EQ(rect, QRect(1, 2, 3, 4));
    ASSERT_TRUE(m_pList->GetCellRect(1, 2, rect));
    EXPECT_EQ(rect.left(), 4 + 120);
    EXPECT_EQ(rect.width(), 200);
    EXPECT_EQ(rect.height(), m_pList->GetRowHeight() - 1);
    EXPECT_FALSE(m_pList->EnsureColumnVisible(0));

    m_pList->horizontalHeader()->resizeSection(1, 900);
    QApplication::processEvents();
    EXPECT_TRUE(m_pList->EnsureColumnVisible(2));
    ASSERT_TRUE(m_pList->GetCellRect(0, 2, rect));
    EXPECT_LE(rect.right(), m_pList->viewport()->width());
    m_pList->horizontalHeader()->resizeSection(0, 100);
    EXPECT_TRUE(m_pList->EnsureColumnVisible(0));
    EXPECT_EQ(m_pList->horizontalScrollBar()->value(), 0);
}

TEST_F(GridCursor, TheFirstClickSelectsAndAClickOnTheFocusedRowEdits)
{
    m_pList->Fill(NumberedRows(3));
    Click(1, 2);
    EXPECT_EQ(m_pList->GetFocusedRow(), 1);
    EXPECT_EQ(m_pList->GetFocusCol(), 2);
    EXPECT_EQ(m_pList->GetSelectedRows(), std::vector<int>{1});
    EXPECT_EQ(m_pList->GetCellEditor(), nullptr);

    Click(1, 1);
    auto *pEdit = qobject_cast<QLineEdit *>(m_pList->GetCellEditor());
    ASSERT_NE(pEdit, nullptr);
    EXPECT_EQ(pEdit->text(), "1");
    EXPECT_EQ(m_pList->GetFocusCol(), 1);

    // A click on the choice column opens the choices the owner gives.
    Click(1, 0);
    auto *pCombo = qobject_cast<CGridComboEdit *>(m_pList->GetCellEditor());
    ASSERT_NE(pCombo, nullptr);
    EXPECT_EQ(pCombo->GetChoices(), QStringList({"One", "Two", "Three"}));
    EXPECT_EQ(pCombo->GetEditText(), "One");
    EXPECT_EQ(pCombo->GetCurrentIndex(), 0);

    // Without choices from the owner no choice editor opens.
    Key(Qt::Key_Escape);
    m_pList->choices.clear();
    EXPECT_FALSE(m_pList->EditCellChoice(1, 0, true, false));
    EXPECT_EQ(m_pList->GetCellEditor(), nullptr);
}

TEST_F(GridCursor, LeftAndRightMoveTheCursorWithinTheColumns)
{
    m_pList->Fill(NumberedRows(2));
    Click(0, 0);
    Key(Qt::Key_Left);
    EXPECT_EQ(m_pList->GetFocusCol(), 0);
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    EXPECT_EQ(m_pList->GetFocusCol(), 2);
    Key(Qt::Key_Right);
    EXPECT_EQ(m_pList->GetFocusCol(), 2);
    EXPECT_EQ(m_pList->GetCellEditor(), nullptr);
    // Enter edits the cursor cell of the selected row.
    Key(Qt::Key_Return);
    auto *pEdit = qobject_cast<QLineEdit *>(m_pList->GetCellEditor());
    ASSERT_NE(pEdit, nullptr);
    EXPECT_EQ(pEdit->selectedText(), "value 0");
}

TEST_F(GridCursor, AnEditCommitsThroughTheOwnerOnlyWhenTheTextChanged)
{
    m_pList->Fill(NumberedRows(2));
    Click(0, 2);
    Key(Qt::Key_Return);
    QTest::keyClicks(QApplication::focusWidget(), "new");
    Key(Qt::Key_Return);
    EXPECT_EQ(m_pList->GetCellEditor(), nullptr);
    EXPECT_EQ(m_pList->rows[0][2], "new");
    EXPECT_EQ(m_pList->GetCellText(0, 2), "new");

    // Escape cancels.
    Key(Qt::Key_Return);
    QTest::keyClicks(QApplication::focusWidget(), "lost");
    Key(Qt::Key_Escape);
    EXPECT_EQ(m_pList->rows[0][2], "new");

    // An owner that does not take the text: the cell shows the owner's text.
    m_pList->bAnswerCommits = false;
    const QString strText = "refused";
    m_pList->OnEndLabelEdit(0, 1, &strText);
    EXPECT_EQ(m_pList->rows[0][1], "0");
    m_pList->OnEndLabelEdit(0, 1, nullptr);
    EXPECT_EQ(m_pList->GetCellText(0, 1), "0");
}

TEST_F(GridCursor, EditorMovesUpAndDownButNeverDownIntoTheLastRow)
{
    m_pList->Fill(NumberedRows(4));
    Click(1, 1);
    m_pList->OnGridNavigate(NAV_DOWN, 1, 1);
    EXPECT_EQ(m_pList->GetFocusedRow(), 2);
    EXPECT_EQ(m_pList->GetSelectedRows(), std::vector<int>{2});
    m_pList->OnGridNavigate(NAV_DOWN, 2, 1);
    EXPECT_EQ(m_pList->GetFocusedRow(), 2);
    for (int i = 0; i < 3; ++i)
        m_pList->OnGridNavigate(NAV_UP, 0, 1);
    EXPECT_EQ(m_pList->GetFocusedRow(), 0);
    EXPECT_EQ(m_pList->GetSelectedRows(), std::vector<int>{0});
    m_pList->OnGridNavigate(NAV_RIGHT, 0, 1);
    EXPECT_EQ(m_pList->GetFocusCol(), 2);
    m_pList->OnGridNavigate(NAV_RIGHT, 0, 2);
    EXPECT_EQ(m_pList->GetFocusCol(), 2);
    m_pList->OnGridNavigate(NAV_ENTER, 0, 2);
    EXPECT_EQ(m_pList->GetFocusedRow(), 0);
    // Every move but Shift+Tab reports the selected row's cursor cell.
    EXPECT_EQ(m_pList->hits.back(), std::make_pair(0, 2));

    // Down and Up in a text editor are those moves, after committing.
    Click(0, 2);
    QTest::keyClicks(QApplication::focusWidget(), "x");
    Key(Qt::Key_Down);
    EXPECT_EQ(m_pList->GetFocusedRow(), 1);
    EXPECT_EQ(m_pList->GetCellEditor(), nullptr);
    EXPECT_TRUE(m_pList->rows[0][2].contains('x'));
}

TEST_F(GridCursor, TabMovesThroughEditableCellsAndAppendsAfterTheLastOne)
{
    m_pList->SetColumns({{0, "Kind", COLDEF_COMBOEDIT, 100},
                         {1, "Fixed", 0, 80},
                         {2, "Value", COLDEF_TEXTEDIT, 200}});
    m_pList->Fill(NumberedRows(2));
    Click(0, 0);
    Click(0, 0);
    ASSERT_NE(m_pList->GetCellEditor(), nullptr);
    // The column without an editor is passed over.
    Key(Qt::Key_Tab);
    EXPECT_EQ(m_pList->GetFocusCol(), 2);
    ASSERT_NE(qobject_cast<QLineEdit *>(m_pList->GetCellEditor()), nullptr);
    Key(Qt::Key_Tab);
    EXPECT_EQ(m_pList->GetFocusedRow(), 1);
    EXPECT_EQ(m_pList->GetFocusCol(), 0);
    Key(Qt::Key_Backtab);
    EXPECT_EQ(m_pList->GetFocusedRow(), 0);
    EXPECT_EQ(m_pList->GetFocusCol(), 2);
    EXPECT_EQ(m_pList->GetSelectedRows(), std::vector<int>{0});

    Key(Qt::Key_Tab);
    Key(Qt::Key_Tab);
    Key(Qt::Key_Tab);
    EXPECT_EQ(m_pList->nAppendCalls, 1);
    ASSERT_EQ(m_pList->GetItemCount(), 3);
    EXPECT_EQ(m_pList->GetFocusedRow(), 2);
    EXPECT_EQ(m_pList->GetFocusCol(), 0);
    EXPECT_NE(qobject_cast<CGridComboEdit *>(m_pList->GetCellEditor()), nullptr);

    // An owner that adds nothing: Tab stops at the last cell.
    m_pList->bAppendAdds = false;
    Key(Qt::Key_Tab);
    Key(Qt::Key_Tab);
    EXPECT_EQ(m_pList->nAppendCalls, 2);
    EXPECT_EQ(m_pList->GetItemCount(), 3);
    EXPECT_EQ(m_pList->GetFocusCol(), 2);
    EXPECT_EQ(m_pList->GetCellEditor(), nullptr);
}

TEST_F(GridCursor, TheCellTipIsAskedForOverAFocusedListOnly)
{
    m_pList->Fill(NumberedRows(2));
    const QPoint point = CellCenter(1, 2);
    QTest::mouseMove(m_pList->viewport(), point);
    QApplication::processEvents();
    ASSERT_FALSE(m_pList->tips.empty());
    EXPECT_EQ(m_pList->tips.back().strText, "value 1");
    EXPECT_EQ(m_pList->tips.back().nOffset, 5);
    EXPECT_EQ(m_pList->tips.back().rect.left(), 220);
    EXPECT_EQ(m_pList->tips.back().rect.top(), m_pList->rowViewportPosition(1) - 1);

    m_pList->tips.clear();
    m_pList->SetOptions(GLO_TOOLTIPS, 0);
    QTest::mouseMove(m_pList->viewport(), CellCenter(0, 1));
    QApplication::processEvents();
    EXPECT_TRUE(m_pList->tips.empty());
}

TEST_F(GridCursor, TheModelStaysConsistentThroughFillInsertSortAndClear)
{
    QAbstractItemModelTester tester(m_pList->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    m_pList->Fill(NumberedRows(5));
    m_pList->rows.push_back({"Two", "9", "x"});
    m_pList->InsertRowItem(2, m_pList->rows.size());
    m_pList->SetCellText(1, 1, "stored");
    m_pList->SortByColumn(1);
    int nFrom = 2;
    int nTo = 1;
    m_pList->MoveColumn(nFrom, nTo);
    m_pList->ResetCellText(1, 1);
    m_pList->DeleteAllItems();
    EXPECT_EQ(m_pList->model()->rowCount(), 0);
}

TEST_F(GridCursor, EnterNotifiesWithoutEditingAndAnEditCanReachEverySelectedRow)
{
    m_pList->Fill(NumberedRows(3));
    Click(1, 2);
    int nNotified = 0;
    QObject::connect(m_pList, &QAbstractItemView::doubleClicked,
                     [&nNotified](const QModelIndex &index) { nNotified += index.row() == 1; });
    m_pList->SetOptions(GLO_ENTEREDIT, 0);
    Key(Qt::Key_Return);
    EXPECT_EQ(nNotified, 1);
    EXPECT_EQ(m_pList->GetCellEditor(), nullptr);

    // With GLO_EDITALLSELECTED one edit goes to every selected row.
    m_pList->SetOptions(0, GLO_EDITALLSELECTED);
    QTest::mouseClick(m_pList->viewport(), Qt::LeftButton, Qt::ControlModifier, CellCenter(2, 2));
    ASSERT_EQ(m_pList->GetSelectedRows(), (std::vector<int>{1, 2}));
    const QString strText = "same";
    m_pList->OnEndLabelEdit(2, 2, &strText);
    EXPECT_EQ(m_pList->rows[0][2], "value 0");
    EXPECT_EQ(m_pList->rows[1][2], "same");
    EXPECT_EQ(m_pList->rows[2][2], "same");
}
