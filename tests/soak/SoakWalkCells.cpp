// The soak's actions in the grid and the text pane: cells edited through the in-place editors,
// typing in the text pane, sorting by a header click.

#include "SoakWalk.h"

#include "ChildFrame.h"
#include "GridComboEdit.h"
#include "PellixGridView.h"
#include "PellixView.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace
{

const std::vector<QString> kKindNames = {
    QStringLiteral("Attribute"),    QStringLiteral("Text"),
    QStringLiteral("Comment"),      QStringLiteral("ProcessInstruction"),
    QStringLiteral("CDATASection"), QStringLiteral("text"),
    QStringLiteral("Element"),      QStringLiteral("Co")};

std::string Quoted(const QString &strText)
{
    return "\"" + strText.toStdString() + "\"";
}

// A key that ends a cell editor.
struct Ending {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char *name;
};

} // namespace

bool SoakWalk::OpenCellEditor(CPellixGridView *pGrid, int nItem, int nPos)
{
    pGrid->scrollTo(pGrid->model()->index(nItem, 0));
    QRect rect;
    if (!pGrid->GetCellRect(nItem, nPos, rect))
        return false;
    QWidget *pViewport = pGrid->viewport();
    const QPoint point = rect.center();
    switch (Pick(4)) {
    case 0:
        // A click on a row selects it; one more on the selected row opens the editor.
        Note(", click");
        for (int nClick = 0; nClick < 2 && !pGrid->IsEditingCell(); ++nClick)
            QTest::mouseClick(pViewport, Qt::LeftButton, Qt::NoModifier, point);
        break;
    case 1:
        Note(", click and Enter");
        QTest::mouseClick(pViewport, Qt::LeftButton, Qt::NoModifier, point);
        if (!pGrid->IsEditingCell())
            QTest::keyClick(pGrid, Qt::Key_Return);
        break;
    case 2:
        Note(", click and F2");
        QTest::mouseClick(pViewport, Qt::LeftButton, Qt::NoModifier, point);
        if (!pGrid->IsEditingCell())
            QTest::keyClick(pGrid, Qt::Key_F2);
        break;
    default:
        // A key typed on the cursor cell opens its editor and reaches it.
        Note(", click and type \"t\"");
        QTest::mouseClick(pViewport, Qt::LeftButton, Qt::NoModifier, point);
        if (!pGrid->IsEditingCell())
            QTest::keyClick(pGrid, Qt::Key_T);
        break;
    }
    return pGrid->IsEditingCell();
}

void SoakWalk::EditCell()
{
    CPellixGridView *pGrid = UseGrid();
    const int nCount = pGrid->GetItemCount();
    if (nCount == 0) {
        Note("edit a cell: no rows");
        return;
    }
    // The last row is where new attributes are typed, and Tab from its last cell adds one.
    const int nItem = Chance(30) ? nCount - 1 : Pick(nCount);
    const int nPos = Pick(pGrid->GetColumnCount());
    if (pGrid->IsEditingCell() && Chance(50)) {
        Note("in the open editor");
    } else {
        Note("edit cell " + std::to_string(nItem) + "," + std::to_string(pGrid->GetColumnId(nPos)));
        if (!OpenCellEditor(pGrid, nItem, nPos)) {
            Note(" (no editor)");
            return;
        }
    }
    if (qobject_cast<CGridComboEdit *>(pGrid->GetCellEditor()) != nullptr)
        ChooseInComboEditor(pGrid);
    else
        TypeIntoTextEditor(pGrid);
    EndCellEditor(pGrid);
}

void SoakWalk::TypeIntoTextEditor(CPellixGridView *pGrid)
{
    auto *pEdit = qobject_cast<QLineEdit *>(pGrid->GetCellEditor());
    if (pEdit == nullptr)
        return;
    const bool bName = pGrid->GetColumnId(pGrid->GetFocusCol()) == CPellixGridView::ColName;
    const QString strText = bName ? RandomName() : RandomValue();
    switch (Pick(4)) {
    case 0:
        Note(", Backspace");
        QTest::keyClick(pEdit, Qt::Key_End);
        QTest::keyClick(pEdit, Qt::Key_Backspace);
        break;
    case 1:
        Note(", append " + Quoted(strText));
        QTest::keyClick(pEdit, Qt::Key_End);
        TypeText(pEdit, strText);
        break;
    default:
        Note(", type " + Quoted(strText));
        QTest::keyClick(pEdit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(pEdit, Qt::Key_Delete);
        TypeText(pEdit, strText);
        break;
    }
}

void SoakWalk::ChooseInComboEditor(CPellixGridView *pGrid)
{
    auto *pCombo = qobject_cast<CGridComboEdit *>(pGrid->GetCellEditor());
    if (pCombo == nullptr)
        return;
    switch (Pick(3)) {
    case 0: {
        const bool bUp = Chance(50);
        const int nPresses = Pick(3) + 1;
        Note(", " + std::string(bUp ? "Up" : "Down") + " x" + std::to_string(nPresses));
        for (int n = 0; n < nPresses; ++n)
            QTest::keyClick(pCombo, bUp ? Qt::Key_Up : Qt::Key_Down);
        break;
    }
    case 1: {
        QLineEdit *pField = pCombo->GetField();
        if (pField == nullptr)
            return;
        const QString strKind = PickFrom(kKindNames);
        Note(", type " + Quoted(strKind));
        pField->selectAll();
        TypeText(pField, strKind);
        break;
    }
    default: {
        QTest::mouseClick(pCombo, Qt::LeftButton, Qt::NoModifier, pCombo->ButtonRect().center());
        QListWidget *pList = pCombo->GetDropList();
        if (pList == nullptr || pList->count() == 0) {
            Note(", drop button (no list)");
            return;
        }
        QListWidgetItem *pItem = pList->item(Pick(pList->count()));
        Note(", drop list " + Quoted(pItem->text()));
        QTest::mouseClick(pList->viewport(), Qt::LeftButton, Qt::NoModifier,
                          pList->visualItemRect(pItem).center());
        QApplication::processEvents();
        break;
    }
    }
}

void SoakWalk::EndCellEditor(CPellixGridView *pGrid)
{
    // Key_unknown: no key, the editor is left open for a later step to end.
    static const std::vector<Ending> kEndings = {{Qt::Key_Return, Qt::NoModifier, "Enter"},
                                                 {Qt::Key_Return, Qt::NoModifier, "Enter"},
                                                 {Qt::Key_Tab, Qt::NoModifier, "Tab"},
                                                 {Qt::Key_Tab, Qt::NoModifier, "Tab"},
                                                 {Qt::Key_Backtab, Qt::ShiftModifier, "Shift+Tab"},
                                                 {Qt::Key_Escape, Qt::NoModifier, "Escape"},
                                                 {Qt::Key_Up, Qt::NoModifier, "Up"},
                                                 {Qt::Key_Down, Qt::NoModifier, "Down"},
                                                 {Qt::Key_unknown, Qt::NoModifier, "left open"}};
    QWidget *pEditor = pGrid->GetCellEditor();
    if (pEditor == nullptr)
        return;
    // Keys reach a choice editor's field, which passes the ones it does not take to the editor.
    if (auto *pCombo = qobject_cast<CGridComboEdit *>(pEditor); pCombo && pCombo->GetField())
        pEditor = pCombo->GetField();
    const Ending &ending = PickFrom(kEndings);
    Note(std::string(", ") + ending.name);
    if (ending.key != Qt::Key_unknown)
        QTest::keyClick(pEditor, ending.key, ending.modifiers);
}

void SoakWalk::TypeInTextPane()
{
    CChildFrame *pFrame = ActiveFrame();
    CPellixGridView *pGrid = UseGrid();
    CPellixView *pText = pFrame->GetTextPane();
    // A click on a name or value cell gives the pane its cell.
    if ((pText->GetTargetRow() < 0 || Chance(50)) && pGrid->GetItemCount() > 0) {
        const int nItem = Pick(pGrid->GetItemCount());
        const int nPos = Pick(pGrid->GetColumnCount());
        pGrid->scrollTo(pGrid->model()->index(nItem, 0));
        QRect rect;
        if (pGrid->GetCellRect(nItem, nPos, rect)) {
            Note("click cell " + std::to_string(nItem) + "," +
                 std::to_string(pGrid->GetColumnId(nPos)) + ", ");
            QTest::mouseClick(pGrid->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
        }
    }
    FocusPane(pFrame, pText);
    Note("text pane (row " + std::to_string(pText->GetTargetRow()) + ", col " +
         std::to_string(pText->GetTargetCol()) + ")");
    switch (Pick(5)) {
    case 0:
        Note(" Backspace");
        QTest::keyClick(pText, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(pText, Qt::Key_Backspace);
        break;
    case 1:
        Note(" Home, Delete");
        QTest::keyClick(pText, Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClick(pText, Qt::Key_Delete);
        break;
    case 2:
        Note(" new line");
        QTest::keyClick(pText, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(pText, Qt::Key_Return);
        TypeText(pText, QStringLiteral("more"));
        break;
    case 3: {
        const QString strText = RandomText();
        Note(" append " + Quoted(strText));
        QTest::keyClick(pText, Qt::Key_End, Qt::ControlModifier);
        TypeText(pText, strText);
        break;
    }
    default: {
        const QString strText = RandomText();
        Note(" type over " + Quoted(strText));
        QTest::keyClick(pText, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(pText, Qt::Key_Delete);
        TypeText(pText, strText);
        break;
    }
    }
}

void SoakWalk::SortByHeader()
{
    CPellixGridView *pGrid = UseGrid();
    QHeaderView *pHeader = pGrid->horizontalHeader();
    const int nPos = Pick(pGrid->GetColumnCount());
    const int nLogical = pHeader->logicalIndex(nPos);
    Note("sort by header " + std::to_string(pGrid->GetColumnId(nPos)));
    QTest::mouseClick(
        pHeader->viewport(), Qt::LeftButton, Qt::NoModifier,
        QPoint(pHeader->sectionViewportPosition(nLogical) + 10, pHeader->height() / 2));
}
