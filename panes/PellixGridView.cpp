#include "PellixGridView.h"

#include "MDIChildWnd.h"

#include "CellTextDelegate.h"
#include "CmdUI.h"
#include "DocumentBase.h"
#include "EditContext.h"
#include "GridRowModel.h"
#include "InsertRowCommands.h"
#include "KindChoiceDelegate.h"
#include "NodeType.h"
#include "Resource.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSortFilterProxyModel>
#include <algorithm>

namespace
{
constexpr int kRowHeight = 17;
constexpr int kColumnWidths[CGridRowModel::ColCount] = {150, 120, 300};
} // namespace

CPellixGridView::CPellixGridView(CDocument *pDoc, QWidget *pParent)
    : QTableView(pParent), CView(this, pDoc), m_pRows(new CGridRowModel(this)),
      m_pSorted(new QSortFilterProxyModel(this))
{
    m_pSorted->setSourceModel(m_pRows);
    setModel(m_pSorted);
    SetUpColumns();
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // A click in the current row opens its editor at once (mousePressEvent/mouseReleaseEvent);
    // Enter opens one too (keyPressEvent).
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    connect(m_pRows, &CGridRowModel::cellCommitted, this, &CPellixGridView::OnCellCommitted);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) { HitCell(current); });
    RegisterCommands();
}

CPellixGridView::~CPellixGridView() = default;

void CPellixGridView::SetUpColumns()
{
    setItemDelegateForColumn(CGridRowModel::ColType, new CKindChoiceDelegate(this));
    setItemDelegateForColumn(CGridRowModel::ColName, new CCellTextDelegate(this));
    setItemDelegateForColumn(CGridRowModel::ColValue, new CCellTextDelegate(this));
    QHeaderView *pHeader = horizontalHeader();
    for (int nCol = 0; nCol < CGridRowModel::ColCount; ++nCol)
        pHeader->resizeSection(nCol, kColumnWidths[nCol]);
    pHeader->setHighlightSections(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(std::max(kRowHeight, fontMetrics().height() + 4));
    // The rows are shown as filled until the user picks a column; a third click on the same
    // header shows them as filled again.
    pHeader->setSortIndicatorClearable(true);
    pHeader->setSortIndicator(-1, Qt::AscendingOrder);
    setSortingEnabled(true);
    // Sorting reads the rows, so an open editor is committed first.
    connect(pHeader, &QHeaderView::sectionPressed, this, [this] { EndCellEdit(); });
}

void CPellixGridView::RegisterCommands()
{
    for (const CInsertRowCommand &insert : kInsertRowCommands) {
        const dom::NodeType kind = insert.nKind;
        OnCommand(insert.nID, [this, kind] { InsertEmptyRow(kind); });
        // Rows typed while no node is shown would be thrown away.
        OnUpdateCommandUI(insert.nID, [this](CCmdUI *pCmdUI) { pCmdUI->Enable(IsShowingNode()); });
    }
}

void CPellixGridView::SetEditContext(CEditContext *pContext)
{
    if (m_pContext != nullptr)
        disconnect(m_pContext, nullptr, this, nullptr);
    m_pContext = pContext;
    m_pRows->SetContext(pContext);
    OnRowsReset();
    if (pContext == nullptr)
        return;
    // An open editor holds text the rows do not have yet.
    connect(pContext, &CEditContext::aboutToReadRows, this, &CPellixGridView::EndCellEdit);
    connect(pContext, &CEditContext::rowsAboutToReset, this, &CPellixGridView::EndCellEdit);
    connect(pContext, &CEditContext::rowsReset, this, &CPellixGridView::OnRowsReset);
    connect(pContext, &CEditContext::rowInserted, this, [this](int nRow) {
        scrollTo(m_pSorted->mapFromSource(m_pRows->index(nRow, CGridRowModel::ColType)));
    });
}

void CPellixGridView::AddRow(int nPos, dom::NodeType kind, const QString &strName,
                             const QString &strValue)
{
    if (m_pContext != nullptr)
        m_pContext->InsertRow(nPos, GridRow{kind, strName, strValue});
}

int CPellixGridView::GetRowCount() const
{
    return m_pRows->rowCount();
}

const GridRow *CPellixGridView::GetRow(int nPos) const
{
    return m_pRows->Row(nPos);
}

bool CPellixGridView::AreRowsEdited() const
{
    return m_pContext != nullptr && m_pContext->AreRowsEdited();
}

bool CPellixGridView::IsShowingNode() const
{
    return m_pContext != nullptr && m_pContext->IsShowingNode();
}

void CPellixGridView::DeleteAllRows()
{
    if (m_pContext != nullptr)
        m_pContext->Clear();
}

void CPellixGridView::OnRowsReset()
{
    m_nHitRow = -1;
    m_nHitCol = -1;
    // A row position the text pane still holds would name a row of the next node.
    emit cellCleared();
}

void CPellixGridView::BeginFill()
{
    if (m_pContext != nullptr)
        m_pContext->BeginFill(dom::Node());
}

void CPellixGridView::EndFill()
{
    if (m_pContext != nullptr)
        m_pContext->EndFill();
}

void CPellixGridView::SetRedraw(bool bRedraw)
{
    setUpdatesEnabled(bRedraw);
    if (bRedraw)
        viewport()->update();
}

void CPellixGridView::EndCellEdit()
{
    if (QWidget *pEditor = indexWidget(m_editIndex)) {
        commitData(pEditor);
        closeEditor(pEditor, QAbstractItemDelegate::NoHint);
    }
    m_editIndex = QPersistentModelIndex();
}

void CPellixGridView::SetCellFromTextPane(int nRow, int nCol, const QString &strText)
{
    if (nCol != CGridRowModel::ColName && nCol != CGridRowModel::ColValue)
        return;
    m_pRows->SetCellText(nRow, nCol, strText);
}

void CPellixGridView::InsertEmptyRow(dom::NodeType kind)
{
    if (IsShowingNode())
        AppendRow(kind);
}

int CPellixGridView::AppendRow(dom::NodeType kind)
{
    return m_pContext != nullptr ? m_pContext->AppendRow(kind) : -1;
}

void CPellixGridView::HitCell(const QModelIndex &viewIndex)
{
    if (!viewIndex.isValid())
        return;
    const QModelIndex rowIndex = m_pSorted->mapToSource(viewIndex);
    m_nHitRow = rowIndex.row();
    m_nHitCol = rowIndex.column();
    ShowHitCellInTextPane();
}

void CPellixGridView::ShowHitCellInTextPane()
{
    const GridRow *pRow = GetRow(m_nHitRow);
    const bool bName = m_nHitCol == CGridRowModel::ColName;
    if (pRow == nullptr || m_nHitCol == CGridRowModel::ColType ||
        (bName && CEditContext::IsNameReadOnly(pRow->nKind))) {
        emit cellCleared();
        return;
    }
    emit cellShown(bName ? pRow->strName : pRow->strValue, m_nHitRow, m_nHitCol);
}

void CPellixGridView::OnCellCommitted(int nRow, int /*nCol*/)
{
    // The text pane shows the hit cell; a commit into its row may change that text or, for
    // a new kind, whether the pane may write into the name.
    if (nRow == m_nHitRow)
        ShowHitCellInTextPane();
}

bool CPellixGridView::edit(const QModelIndex &index, EditTrigger trigger, QEvent *pEvent)
{
    if (!QTableView::edit(index, trigger, pEvent))
        return false;
    m_editIndex = index;
    return true;
}

bool CPellixGridView::IsLastCell(const QModelIndex &viewIndex) const
{
    return viewIndex.isValid() && viewIndex.row() == model()->rowCount() - 1 &&
           horizontalHeader()->visualIndex(viewIndex.column()) == horizontalHeader()->count() - 1;
}

QModelIndex CPellixGridView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    // Tab from the last cell opens a new attribute row and moves into its Type cell.
    if (action == MoveNext && IsShowingNode() && IsLastCell(currentIndex())) {
        const int nRow = AppendRow(dom::NODE_ATTRIBUTE);
        return m_pSorted->mapFromSource(m_pRows->index(nRow, CGridRowModel::ColType));
    }
    return QTableView::moveCursor(action, modifiers);
}

void CPellixGridView::keyPressEvent(QKeyEvent *pEvent)
{
    const bool bEnter = pEvent->key() == Qt::Key_Return || pEvent->key() == Qt::Key_Enter;
    if (bEnter && state() != EditingState && currentIndex().isValid()) {
        edit(currentIndex());
        return;
    }
    QTableView::keyPressEvent(pEvent);
}

void CPellixGridView::mousePressEvent(QMouseEvent *pEvent)
{
    const QModelIndex index = indexAt(pEvent->position().toPoint());
    m_bPressOnCurrentRow = pEvent->button() == Qt::LeftButton && index.isValid() &&
                           currentIndex().isValid() && index.row() == currentIndex().row();
    const bool bOnCurrentCell = index.isValid() && index == currentIndex();
    m_pressIndex = index;
    QTableView::mousePressEvent(pEvent);
    // A click on the current cell moves nothing, but it is still a hit.
    if (bOnCurrentCell)
        HitCell(index);
}

void CPellixGridView::mouseReleaseEvent(QMouseEvent *pEvent)
{
    QTableView::mouseReleaseEvent(pEvent);
    const QModelIndex index = indexAt(pEvent->position().toPoint());
    if (m_bPressOnCurrentRow && index.isValid() && index == m_pressIndex && state() != EditingState)
        edit(index);
    m_bPressOnCurrentRow = false;
}

void CPellixGridView::paintEvent(QPaintEvent *pEvent)
{
    QTableView::paintEvent(pEvent);
    // The whole current row is highlighted; the cell that Enter or typing would edit is framed.
    const QModelIndex current = currentIndex();
    if (!current.isValid() || IsEditingCell())
        return;
    QPainter painter(viewport());
    const bool bSelected = selectionModel()->isSelected(current);
    painter.setPen(palette().color(bSelected ? QPalette::HighlightedText : QPalette::Text));
    painter.drawRect(visualRect(current).adjusted(1, 1, -2, -2));
}

void CPellixGridView::OnInitialUpdate()
{
    if (CMDIChildWnd *pFrame = GetParentFrame())
        pFrame->setWindowState(pFrame->windowState() | Qt::WindowMaximized);
}
