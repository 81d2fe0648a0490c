#include "PellixGridView.h"

#include "CmdUI.h"
#include "ColumnDefinitionSet.h"
#include "DocumentBase.h"
#include "EditContext.h"
#include "EditorUndo.h"
#include "InsertRowCommands.h"
#include "MDIChildWnd.h"
#include "NodeType.h"
#include "Resource.h"
#include "WinApp.h"

#include <QSettings>

#include <utility>

namespace
{
constexpr int kRowHeight = 17;
} // namespace

CPellixGridView::CPellixGridView(CDocument *pDoc, QWidget *pParent)
    : CGridListView(pParent), CView(this, pDoc)
{
    SetUpColumns();
    SetCellTextFunction([this](int nRow, int nPos, quintptr nDatum, QString &strText) {
        GetGridCellText(nRow, nPos, nDatum, strText);
    });
    SetCellFormatFunction([this](GridCellFormat &request) { return GetGridCellFormat(request); });
    RegisterCommands();
    EnablePrintCommands();
}

CPellixGridView::~CPellixGridView() = default;

void CPellixGridView::SetUpColumns()
{
    ColumnDefinitionSet *pDefs = CreateColumnDefinitions();
    pDefs->AddDefinition(ColType, QStringLiteral("Type"), QString(), LVCFMT_CENTER, 150,
                         COLDEF_COMBOEDIT | COLDEF_SORTABLE, -1, QString());
    pDefs->AddDefinition(ColName, QStringLiteral("Name"), QString(), LVCFMT_CENTER, 120,
                         COLDEF_TEXTEDIT | COLDEF_NUMSORT | COLDEF_SORTABLE, -1, QString());
    pDefs->AddDefinition(ColValue, QStringLiteral("Value"), QString(), LVCFMT_LEFT, 300,
                         COLDEF_TEXTEDIT | COLDEF_NUMSORT | COLDEF_SORTABLE, -1, QString());
    pDefs->SetDefaultOrder({ColType, ColName, ColValue});
    if (CWinApp *pApp = AfxGetApp())
        pDefs->LoadSettings(pApp->GetProfile(), QStringLiteral("TheMainList"));
    SetOptions(0, GLO_FILLRIGHT | GLO_VGRIDLINES | GLO_HGRIDLINES | GLO_SORTONCLICK);
    ApplyColumnDefinitions();
    SetRowHeight(kRowHeight);
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

bool CPellixGridView::OnCmdMsg(int nID, CCmdUI *pUpdate)
{
    if ((nID == ID_EDIT_UNDO || nID == ID_EDIT_REDO) && IsEditingCell()) {
        EditorUndoCommand(GetCellEditor(), nID, pUpdate);
        return true;
    }
    return CView::OnCmdMsg(nID, pUpdate);
}

const QStringList &CPellixGridView::KindNames()
{
    static const QStringList names = {
        QStringLiteral("Attribute"), QStringLiteral("Text"), QStringLiteral("Comment"),
        QStringLiteral("ProcessInstruction"), QStringLiteral("CDATASection")};
    return names;
}

namespace
{
// Kinds in the order of KindNames().
constexpr dom::NodeType kKinds[] = {dom::NODE_ATTRIBUTE, dom::NODE_TEXT, dom::NODE_COMMENT,
                                    dom::NODE_PROCESSING_INSTRUCTION, dom::NODE_CDATA_SECTION};
} // namespace

QString CPellixGridView::KindName(int nKind)
{
    for (qsizetype i = 0; i < KindNames().size(); ++i) {
        if (kKinds[i] == nKind)
            return KindNames()[i];
    }
    return QString();
}

std::optional<dom::NodeType> CPellixGridView::KindFromName(const QString &strName)
{
    const qsizetype nIndex = KindNames().indexOf(strName);
    if (nIndex < 0)
        return std::nullopt;
    return kKinds[nIndex];
}

void CPellixGridView::SetEditContext(CEditContext *pContext)
{
    if (m_pContext != nullptr)
        disconnect(m_pContext, nullptr, this, nullptr);
    m_pContext = pContext;
    OnRowsReset();
    if (pContext != nullptr)
        ConnectContext(pContext);
}

void CPellixGridView::ConnectContext(CEditContext *pContext)
{
    // An open editor holds text the rows do not have yet.
    connect(pContext, &CEditContext::aboutToReadRows, this, &CPellixGridView::EndCellEdit);
    // The list must not hold the addresses of rows about to go.
    connect(pContext, &CEditContext::rowsAboutToReset, this, [this] {
        EndCellEdit();
        m_textBeforeReset = {};
        if (const GridRow *pRow = GetRow(m_nTextRow)) {
            m_textBeforeReset = {m_pContext->GetNode(), pRow->nKind, pRow->strName, m_nTextRow,
                                 m_nTextCol};
        }
        DeleteAllItems();
    });
    connect(pContext, &CEditContext::rowsReset, this, &CPellixGridView::OnRowsReset);
    connect(pContext, &CEditContext::rowInserted, this, [this](int nRow) {
        const int nItem = InsertRowItem(nRow, reinterpret_cast<quintptr>(GetRow(nRow)));
        scrollTo(model()->index(nItem, 0));
    });
    connect(pContext, &CEditContext::rowChanged, this, [this] { viewport()->update(); });
    connect(pContext, &QObject::destroyed, this, [this] { DeleteAllItems(); });
}

void CPellixGridView::OnRowsReset()
{
    std::vector<quintptr> data;
    data.reserve(static_cast<std::size_t>(GetRowCount()));
    for (int nRow = 0; nRow < GetRowCount(); ++nRow)
        data.push_back(reinterpret_cast<quintptr>(GetRow(nRow)));
    SetRowItems(data);
    m_nHitRow = -1;
    m_nHitCol = -1;
    // A row position the text pane still holds would name a row of the next node.
    m_nTextRow = -1;
    m_nTextCol = -1;
    const TextCellBeforeReset before = std::exchange(m_textBeforeReset, {});
    // The same node read again (a commit that changed what the rows hold, another window's
    // write): the pane stays on its row, with the text that row holds now.
    const int nRow =
        m_pContext != nullptr && !before.node.isNull() && before.node == m_pContext->GetNode()
            ? FindRowAgain(before)
            : -1;
    if (nRow >= 0)
        ShowCellInTextPane(nRow, before.nCol);
    else
        emit cellCleared();
}

int CPellixGridView::FindRowAgain(const TextCellBeforeReset &before) const
{
    const auto same = [&before](const GridRow *pRow) {
        return pRow != nullptr && pRow->nKind == before.kind && pRow->strName == before.strName;
    };
    if (same(GetRow(before.nRow)))
        return before.nRow;
    // An attribute is known by its name wherever it moved; other rows only where they were.
    if (before.kind == dom::NODE_ATTRIBUTE && !before.strName.isEmpty()) {
        for (int nRow = 0; nRow < GetRowCount(); ++nRow) {
            if (same(GetRow(nRow)))
                return nRow;
        }
    }
    return -1;
}

void CPellixGridView::AddRow(int nPos, dom::NodeType kind, const QString &strName,
                             const QString &strValue)
{
    if (m_pContext != nullptr)
        m_pContext->InsertRow(nPos, GridRow{kind, strName, strValue});
}

int CPellixGridView::GetRowCount() const
{
    return m_pContext != nullptr ? m_pContext->GetRowCount() : 0;
}

const GridRow *CPellixGridView::GetRow(int nPos) const
{
    return m_pContext != nullptr ? m_pContext->GetRow(nPos) : nullptr;
}

int CPellixGridView::ItemOfRow(int nRow) const
{
    const GridRow *pRow = GetRow(nRow);
    return pRow != nullptr ? FindItemData(reinterpret_cast<quintptr>(pRow)) : -1;
}

const GridRow *CPellixGridView::RowOf(quintptr nDatum)
{
    return reinterpret_cast<const GridRow *>(nDatum);
}

int CPellixGridView::PositionOf(const GridRow *pRow) const
{
    for (int nRow = 0; nRow < GetRowCount(); ++nRow) {
        if (GetRow(nRow) == pRow)
            return nRow;
    }
    return -1;
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

void CPellixGridView::InsertEmptyRow(dom::NodeType kind)
{
    if (IsShowingNode())
        AppendRow(kind);
}

int CPellixGridView::AppendRow(dom::NodeType kind)
{
    return m_pContext != nullptr ? m_pContext->AppendRow(kind) : -1;
}

int CPellixGridView::OnAppendRow()
{
    if (!IsShowingNode())
        return 0;
    AppendRow(dom::NODE_ATTRIBUTE);
    return 1;
}

void CPellixGridView::OnInitialUpdate()
{
    if (CMDIChildWnd *pFrame = GetParentFrame())
        pFrame->setWindowState(pFrame->windowState() | Qt::WindowMaximized);
}

bool CPellixGridView::OnPreparePrinting(CPrintInfo *pInfo)
{
    // The page count is known once the printer's fonts are: at the start of the job.
    pInfo->m_nMaxPage = 0xFFFF;
    return true;
}

void CPellixGridView::OnBeginPrinting(QPainter *pPainter, CPrintInfo *pInfo)
{
    pInfo->m_nMaxPage = CGridListView::OnBeginPrinting(pPainter, pInfo->m_rectDraw);
}

void CPellixGridView::OnPrint(QPainter *pPainter, CPrintInfo *pInfo)
{
    CGridListView::OnPrint(pPainter, pInfo->m_rectDraw, pInfo->m_nCurPage);
}

void CPellixGridView::OnEndPrinting(QPainter *, CPrintInfo *)
{
    CGridListView::OnEndPrinting();
}
