#include "GridTestKit.h"

#include "ColumnDefinitionSet.h"

#include <QApplication>
#include <QTest>
#include <QVBoxLayout>

TestList::TestList()
{
    SetCellTextFunction([this](int, int nPos, quintptr nDatum, QString &strText) {
        strText.clear();
        const int nId = GetColumnId(nPos);
        if (nDatum == 0 || nDatum > rows.size() || nId < 0)
            return;
        const QStringList &row = rows[nDatum - 1];
        if (nId < row.size())
            strText = row[nId];
    });
    SetCellFormatFunction([this](GridCellFormat &request) { return Answer(request); });
}

bool TestList::Answer(GridCellFormat &request)
{
    switch (request.nCode) {
    case GRIDQ_FORMAT:
        if (request.nColumn == 0)
            request.dwFlags |= GRIDF_BOLD;
        if (request.nColumn == 1 || request.nColumn == 2) {
            request.dwFlags |= GRIDF_TEXTCOLOR;
            request.crText = request.nColumn == 1 ? crName : crValue;
        }
        return true;
    case GRIDQ_CHOICES:
        *request.pChoices << choices;
        return !choices.isEmpty() || bAnswerWithoutChoices;
    case GRIDQ_COMMIT:
        ++nCommits;
        if (!bAnswerCommits)
            return false;
        rows[request.nDatum - 1][request.nColumn] = request.strText;
        return true;
    default:
        return false;
    }
}

void TestList::SetColumns(const std::vector<ColumnSpec> &columns)
{
    ColumnDefinitionSet *pDefs = CreateColumnDefinitions();
    std::vector<int> order;
    for (const ColumnSpec &column : columns) {
        pDefs->AddDefinition(column.nId, QString::fromLatin1(column.pszCaption), QString(),
                             column.nFormat, column.nWidth, column.dwFlags, -1, QString());
        order.push_back(column.nId);
    }
    pDefs->SetDefaultOrder(order);
    ApplyColumnDefinitions();
}

void TestList::Fill(const std::vector<QStringList> &texts)
{
    rows = texts;
    std::vector<quintptr> data;
    for (std::size_t i = 0; i < rows.size(); ++i)
        data.push_back(i + 1);
    SetRowItems(data);
}

const QStringList &TestList::OwnerRow(int nRow) const
{
    return rows.at(GetItemData(nRow) - 1);
}

QStringList TestList::ShownColumn(int nPos) const
{
    QStringList texts;
    for (int nRow = 0; nRow < GetItemCount(); ++nRow)
        texts << GetCellText(nRow, nPos);
    return texts;
}

int TestList::OnAppendRow()
{
    ++nAppendCalls;
    if (!bAppendAdds)
        return 0;
    rows.push_back({"", "", ""});
    InsertRowItem(GetItemCount(), rows.size());
    return 1;
}

GridTest::GridTest() : m_pWindow(std::make_unique<QWidget>())
{
    auto *pLayout = new QVBoxLayout(m_pWindow.get());
    pLayout->setContentsMargins(0, 0, 0, 0);
    m_pList = new TestList;
    pLayout->addWidget(m_pList);
    m_pList->SetColumns({{0, "Kind", COLDEF_COMBOEDIT | COLDEF_SORTABLE, 100},
                         {1, "Name", COLDEF_TEXTEDIT | COLDEF_NUMSORT | COLDEF_SORTABLE, 120},
                         {2, "Value", COLDEF_TEXTEDIT | COLDEF_NUMSORT | COLDEF_SORTABLE, 200}});
    m_pWindow->resize(500, 300);
    m_pWindow->show();
    m_pWindow->activateWindow();
    if (!QTest::qWaitForWindowExposed(m_pWindow.get()))
        ADD_FAILURE() << "the list's window was not exposed";
    m_pList->setFocus();
    QApplication::processEvents();
}

QPoint GridTest::CellCenter(int nRow, int nPos) const
{
    QRect rect;
    EXPECT_TRUE(m_pList->GetCellRect(nRow, nPos, rect)) << nRow << ", " << nPos;
    return rect.center();
}

void GridTest::Click(int nRow, int nPos)
{
    QTest::mouseClick(m_pList->viewport(), Qt::LeftButton, Qt::NoModifier, CellCenter(nRow, nPos));
    QApplication::processEvents();
}

void GridTest::Key(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QWidget *pTarget = QApplication::focusWidget();
    QTest::keyClick(pTarget != nullptr ? pTarget : m_pList, key, modifiers);
    QApplication::processEvents();
}

QImage GridTest::Paint()
{
    QApplication::processEvents();
    return m_pList->viewport()->grab().toImage();
}

std::vector<QStringList> NumberedRows(int nCount)
{
    std::vector<QStringList> rows;
    for (int i = 0; i < nCount; ++i)
        rows.push_back({"One", QString::number(i), QStringLiteral("value %1").arg(i)});
    return rows;
}
