#include "GridListView.h"

#include "GridHeaderCtrl.h"
#include "GridListTip.h"

#include "ColumnDefinitionSet.h"
#include "GridEditorDelegate.h"
#include "GridInplaceEditor.h"
#include "GridListModel.h"
#include "GridListPrinter.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <algorithm>

CGridListView::CGridListView(QWidget *pParent)
    : QTableView(pParent), m_pModel(new CGridListModel(this))
{
    setHorizontalHeader(CreateHeader(this));
    setModel(m_pModel);
    setItemDelegate(new CGridEditorDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Clicks, Enter and Tab open editors through the list's own handling; typing and F2 open
    // the cursor cell's editor as well.
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    QHeaderView *pRows = verticalHeader();
    pRows->hide();
    pRows->setMinimumSectionSize(1);
    pRows->setSectionResizeMode(QHeaderView::Fixed);
    pRows->setDefaultSectionSize(m_nRowHeight);
    SetUpHeader();
    viewport()->setMouseTracking(true);
    MakeScreenFonts();
}

CGridListView::~CGridListView()
{
    // An editor still open goes with the list: its focus loss must not reach a list being torn
    // down.
    if (auto *pEditor = dynamic_cast<CGridInplaceEditor *>(GetCellEditor()))
        pEditor->MarkClosed();
}

QHeaderView *CGridListView::CreateHeader(CGridListView *pList)
{
    auto *pHeader = new CGridHeaderCtrl(pList);
    // A dragged column lands where the list's rules put it (column 0 stays first).
    pHeader->SetDropFunction([pList](int &nFrom, int &nTo) {
        pList->MoveColumn(nFrom, nTo);
        return true;
    });
    return pHeader;
}

void CGridListView::SetUpHeader()
{
    QHeaderView *pHeader = horizontalHeader();
    pHeader->setSectionsClickable(true);
    pHeader->setSectionsMovable(true);
    pHeader->setHighlightSections(false);
    pHeader->setStretchLastSection(false);
    // The list keeps its own lower limit (16 pixels for every column but the first).
    pHeader->setMinimumSectionSize(1);
    pHeader->setSortIndicatorShown(false);
    connect(pHeader, &QHeaderView::sectionClicked, this, [this](int nLogical) {
        SortByColumn(horizontalHeader()->visualIndex(nLogical));
        // The header moves its mark on every click; only a sort may move it.
        UpdateSortIndicator();
    });
    connect(pHeader, &QHeaderView::sectionMoved, this, &CGridListView::OnSectionMoved);
    connect(pHeader, &QHeaderView::sectionResized, this, &CGridListView::OnSectionResized);
}

void CGridListView::MakeScreenFonts()
{
    m_screenFonts = GridFontSet::From(font());
}

void CGridListView::changeEvent(QEvent *pEvent)
{
    if (pEvent->type() == QEvent::FontChange)
        MakeScreenFonts();
    QTableView::changeEvent(pEvent);
}

const QFont &CGridListView::GetScreenFont(quint32 dwFlags) const
{
    return m_screenFonts.Pick(dwFlags);
}

int CGridListView::InsertRowItem(int nPos, quintptr nDatum)
{
    return m_pModel->InsertItem(nPos, nDatum);
}

void CGridListView::SetRowItems(const std::vector<quintptr> &data)
{
    m_pModel->SetItems(data);
}

void CGridListView::DeleteAllItems()
{
    m_pModel->DeleteAllItems();
}

int CGridListView::GetItemCount() const
{
    return m_pModel->GetItemCount();
}

quintptr CGridListView::GetItemData(int nRow) const
{
    return m_pModel->GetItemData(nRow);
}

int CGridListView::FindItemData(quintptr nDatum) const
{
    for (int nRow = 0; nRow < GetItemCount(); ++nRow) {
        if (m_pModel->GetItemData(nRow) == nDatum)
            return nRow;
    }
    return -1;
}

void CGridListView::GetCellText(int nRow, int nPos, QString &strText,
                                std::optional<quintptr> nDatum) const
{
    if (m_pfnCellText) {
        m_pfnCellText(nRow, nPos, nDatum.value_or(GetItemData(nRow)), strText);
        return;
    }
    const QString *pStored = m_pModel->GetStoredText(nRow, LogicalColumn(nPos));
    strText = pStored != nullptr ? *pStored : QString();
}

QString CGridListView::GetCellText(int nRow, int nPos) const
{
    QString strText;
    GetCellText(nRow, nPos, strText);
    return strText;
}

void CGridListView::SetCellText(int nRow, int nPos, const QString &strText)
{
    m_pModel->SetStoredText(nRow, LogicalColumn(nPos), strText);
}

void CGridListView::ResetCellText(int nRow, int nPos)
{
    m_pModel->ResetStoredText(nRow, LogicalColumn(nPos));
}

void CGridListView::ClearSelection()
{
    selectionModel()->clearSelection();
    selectionModel()->clearCurrentIndex();
}

bool CGridListView::IsRowSelected(int nRow) const
{
    return selectionModel()->isRowSelected(nRow, QModelIndex());
}

std::vector<int> CGridListView::GetSelectedRows() const
{
    std::vector<int> rows;
    for (const QModelIndex &index : selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

int CGridListView::GetFirstSelectedRow() const
{
    const std::vector<int> rows = GetSelectedRows();
    return rows.empty() ? -1 : rows.front();
}

int CGridListView::GetFocusedRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void CGridListView::SelectFocusedRow(int nRow)
{
    if (nRow < 0 || nRow >= GetItemCount())
        return;
    const QModelIndex index = m_pModel->index(nRow, std::max(0, LogicalColumn(m_nFocusCol)));
    selectionModel()->setCurrentIndex(index,
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

ColumnDefinitionSet *CGridListView::CreateColumnDefinitions()
{
    m_pColumnDefs = std::make_unique<ColumnDefinitionSet>();
    return m_pColumnDefs.get();
}

void CGridListView::ApplyColumnDefinitions()
{
    if (m_pColumnDefs == nullptr)
        return;
    EndCellEdit();
    const GridColumnLayout layout = m_pColumnDefs->BuildColumns();
    m_masks = layout.masks;
    m_headerState.dwDirectionMask |= layout.dwSortAscending;
    m_headerState.dwNoMarkMask |= layout.dwNoSortMark;
    m_headerState.dwFixedWidthMask |= layout.dwFixedWidth;
    m_bArrangingHeader = true;
    m_pModel->SetColumns(layout.columns);
    QHeaderView *pHeader = horizontalHeader();
    for (int nColumn = 0; nColumn < static_cast<int>(layout.columns.size()); ++nColumn) {
        const GridColumnLayout::Column &column = layout.columns[static_cast<std::size_t>(nColumn)];
        pHeader->resizeSection(nColumn, column.nWidth);
        const bool bFixed = GridColumnMasks::Has(m_headerState.dwFixedWidthMask, column.nColumnId);
        pHeader->setSectionResizeMode(nColumn,
                                      bFixed ? QHeaderView::Fixed : QHeaderView::Interactive);
    }
    m_bArrangingHeader = false;
    if (auto *pDrawn = qobject_cast<CGridHeaderCtrl *>(pHeader)) {
        pDrawn->SetFixedWidthMask(m_headerState.dwFixedWidthMask);
        pDrawn->SetNoMarkMask(m_headerState.dwNoMarkMask);
        pDrawn->SetAscendingMask(m_headerState.dwDirectionMask);
    }
    UpdateSortIndicator();
    viewport()->update();
}

int CGridListView::GetColumnCount() const
{
    return m_pModel->columnCount();
}

int CGridListView::LogicalColumn(int nPos) const
{
    if (nPos < 0 || nPos >= GetColumnCount())
        return -1;
    return horizontalHeader()->logicalIndex(nPos);
}

int CGridListView::GetColumnId(int nPos) const
{
    return m_pModel->GetColumnId(LogicalColumn(nPos));
}

int CGridListView::FindColumn(int nColumnId) const
{
    for (int nPos = 0; nPos < GetColumnCount(); ++nPos) {
        if (GetColumnId(nPos) == nColumnId)
            return nPos;
    }
    return -1;
}

int CGridListView::GetColumnWidth(int nPos) const
{
    const int nLogical = LogicalColumn(nPos);
    return nLogical >= 0 ? horizontalHeader()->sectionSize(nLogical) : 0;
}

int CGridListView::GetColumnFormat(int nPos) const
{
    return m_pModel->GetColumnFormat(LogicalColumn(nPos));
}

QString CGridListView::GetColumnCaption(int nPos) const
{
    return m_pModel->GetColumnCaption(LogicalColumn(nPos));
}

void CGridListView::SetOptions(quint32 dwRemove, quint32 dwAdd)
{
    m_dwOptions = (m_dwOptions & ~dwRemove) | dwAdd;
    viewport()->update();
}

void CGridListView::SetRowHeight(int nHeight)
{
    m_nRowHeight = std::max(1, nHeight);
    verticalHeader()->setDefaultSectionSize(m_nRowHeight);
    viewport()->update();
}

void CGridListView::SetCellFormatMask(quint32 dwMask)
{
    m_dwCellFormatMask = dwMask;
    viewport()->update();
}

void CGridListView::SetCellImageList(const QList<QPixmap> &images)
{
    m_cellImages = images;
    viewport()->update();
}

void CGridListView::SetCellTextFunction(CellTextFn fnCellText)
{
    m_pfnCellText = std::move(fnCellText);
    viewport()->update();
}

void CGridListView::SetCellFormatFunction(CellFormatFn fnCellFormat)
{
    m_pfnCellFormat = std::move(fnCellFormat);
    viewport()->update();
}

bool CGridListView::QueryOwner(GridCellFormat &request)
{
    request.nCtrlId = m_nCtrlId;
    if (m_pfnCellFormat)
        return m_pfnCellFormat(request);
    return OnQueryCell(request);
}

bool CGridListView::QueryCellFormat(int nRow, int nPos, GridCellFormat &request)
{
    request.nCode = GRIDQ_FORMAT;
    request.nRow = nRow;
    request.nColumn = GetColumnId(nPos);
    request.nDatum = GetItemData(nRow);
    return QueryOwner(request);
}

bool CGridListView::WantsCellFormat(int nPos) const
{
    if (!HasOption(GLO_CELLFORMAT))
        return false;
    if (HasOption(GLO_FIRSTCOLFORMAT))
        return nPos == 0;
    return m_dwCellFormatMask == 0 || GridColumnMasks::Has(m_dwCellFormatMask, GetColumnId(nPos));
}

QRect CGridListView::RowRect(int nRow) const
{
    return QRect(-horizontalOffset(), rowViewportPosition(nRow), horizontalHeader()->length(),
                 rowHeight(nRow));
}

void CGridListView::UpdateRow(int nRow)
{
    if (nRow >= 0 && nRow < GetItemCount())
        viewport()->update(RowRect(nRow));
}

void CGridListView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    // The cursor follows the focus cell; it is kept when the rows go.
    if (current.isValid())
        m_nFocusCol = horizontalHeader()->visualIndex(current.column());
    // The cursor and the focus frame span whole rows.
    UpdateRow(previous.row());
    UpdateRow(current.row());
}

void CGridListView::SetFocusCol(int nPos)
{
    if (nPos < -1 || nPos >= GetColumnCount())
        return;
    m_nFocusCol = nPos;
    const QModelIndex current = currentIndex();
    if (current.isValid() && nPos >= 0 && LogicalColumn(nPos) != current.column())
        selectionModel()->setCurrentIndex(m_pModel->index(current.row(), LogicalColumn(nPos)),
                                          QItemSelectionModel::NoUpdate);
    UpdateRow(GetFocusedRow());
}

void CGridListView::focusInEvent(QFocusEvent *pEvent)
{
    QTableView::focusInEvent(pEvent);
    // Selected rows look selected only while the list has the focus.
    viewport()->update();
}

void CGridListView::focusOutEvent(QFocusEvent *pEvent)
{
    QTableView::focusOutEvent(pEvent);
    viewport()->update();
}

void CGridListView::scrollContentsBy(int dx, int dy)
{
    HideCellTip();
    QTableView::scrollContentsBy(dx, dy);
}

void CGridListView::ShowCellTip(const QRect &rectCell, const QString &strText, int nOffset)
{
    if (m_pTip == nullptr)
        m_pTip = new CGridListTip(this);
    // The tip shows the text in the cell's own font and colours, so it seems to grow out of it.
    const QPoint at = rectCell.center();
    int nPos = 0;
    QRect rect;
    const int nRow = GetCellRectAt(at, rect, nPos);
    GridCellFormat format;
    QFont font = this->font();
    QColor textColor;
    if (nRow >= 0 && QueryCellFormat(nRow, nPos, format)) {
        font = format.dwFlags & GRIDF_FONT ? format.font : GetScreenFont(format.dwFlags);
        if (format.dwFlags & GRIDF_TEXTCOLOR)
            textColor = format.crText;
    }
    m_pTip->Show(viewport(), rectCell, strText, font, nOffset, textColor);
}

void CGridListView::HideCellTip()
{
    if (m_pTip != nullptr)
        m_pTip->Hide();
}

int CGridListView::OnBeginPrinting(QPainter *pPainter, const QRect &rectPage)
{
    m_pPrinter = std::make_unique<CGridListPrinter>(*this, m_print);
    return m_pPrinter->Begin(pPainter, rectPage);
}

void CGridListView::OnPrint(QPainter *pPainter, const QRect &rectPage, int nPage)
{
    if (m_pPrinter != nullptr)
        m_pPrinter->PrintPage(pPainter, rectPage, nPage);
}

void CGridListView::OnEndPrinting()
{
    m_pPrinter.reset();
}
