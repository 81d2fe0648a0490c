#include "EditContext.h"

#include "DocumentEditor.h"

#include <utility>

CEditContext::CEditContext(CDocumentEditor *pEditor, QObject *pParent)
    : QObject(pParent), m_pEditor(pEditor)
{
    connect(m_pEditor, &CDocumentEditor::edited, this, &CEditContext::OnDocumentEdited);
}

CEditContext::~CEditContext() = default;

bool CEditContext::IsNameReadOnly(dom::NodeType kind)
{
    return kind == dom::NODE_TEXT || kind == dom::NODE_CDATA_SECTION || kind == dom::NODE_COMMENT;
}

const GridRow *CEditContext::GetRow(int nPos) const
{
    if (nPos < 0 || nPos >= GetRowCount())
        return nullptr;
    return m_rows[static_cast<std::size_t>(nPos)].get();
}

void CEditContext::Reset(const dom::Node &node, bool bShowing)
{
    emit rowsAboutToReset();
    ClearDraft();
    m_rows.clear();
    m_node = node;
    m_bShowing = bShowing;
    m_bEdited = false;
    emit rowsReset();
}

void CEditContext::Fill(const dom::Node &node)
{
    if (node.isNull()) {
        Clear();
        return;
    }
    emit rowsAboutToReset();
    ClearDraft();
    m_rows.clear();
    ForEachNodeRow(
        node.view(), [this](dom::NodeType kind, std::string_view name, std::string_view value) {
            m_rows.push_back(std::make_unique<GridRow>(
                GridRow{kind, QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())),
                        QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()))}));
        });
    m_rows.push_back(std::make_unique<GridRow>());
    m_node = node;
    m_bShowing = true;
    m_bEdited = false;
    emit rowsReset();
}

void CEditContext::BeginFill(const dom::Node &node)
{
    Reset(node, false);
    m_bFilling = true;
}

void CEditContext::EndFill()
{
    m_bFilling = false;
    m_bShowing = true;
    m_bEdited = false;
}

void CEditContext::Clear()
{
    m_bFilling = false;
    Reset(dom::Node(), false);
}

void CEditContext::MarkEdited()
{
    if (m_bFilling)
        return;
    m_bEdited = true;
    emit rowsEdited();
}

int CEditContext::InsertRow(int nPos, GridRow row)
{
    const int nCount = GetRowCount();
    if (nPos < 0 || nPos > nCount)
        nPos = nCount;
    emit rowAboutToBeInserted(nPos);
    m_rows.insert(m_rows.begin() + nPos, std::make_unique<GridRow>(std::move(row)));
    emit rowInserted(nPos);
    MarkEdited();
    return nPos;
}

int CEditContext::AppendRow(dom::NodeType kind)
{
    GridRow row;
    row.nKind = kind;
    return InsertRow(GetRowCount(), std::move(row));
}

template <typename Change> bool CEditContext::ChangeRow(int nRow, Change fnChange)
{
    GridRow *pRow = nRow >= 0 && nRow < GetRowCount() ? m_rows[std::size_t(nRow)].get() : nullptr;
    if (pRow == nullptr || !fnChange(*pRow))
        return false;
    emit rowChanged(nRow);
    MarkEdited();
    return true;
}

bool CEditContext::SetKind(int nRow, dom::NodeType kind)
{
    return ChangeRow(nRow, [kind](GridRow &row) { return std::exchange(row.nKind, kind) != kind; });
}

bool CEditContext::SetName(int nRow, const QString &strName)
{
    return ChangeRow(nRow, [&strName](GridRow &row) {
        return !IsNameReadOnly(row.nKind) && std::exchange(row.strName, strName) != strName;
    });
}

bool CEditContext::SetValue(int nRow, const QString &strValue)
{
    return ChangeRow(nRow, [&strValue](GridRow &row) {
        return std::exchange(row.strValue, strValue) != strValue;
    });
}

std::vector<GridRow> CEditContext::CopyRows() const
{
    std::vector<GridRow> rows;
    rows.reserve(m_rows.size());
    for (const auto &pRow : m_rows)
        rows.push_back(*pRow);
    return rows;
}

void CEditContext::SetDraft(int nRow, bool bName, const QString &strText)
{
    if (nRow < 0 || nRow >= GetRowCount())
        return;
    m_draft = {nRow, bName, strText};
    emit draftChanged();
}

void CEditContext::ClearDraft()
{
    if (m_draft.nRow < 0)
        return;
    m_draft = {};
    emit draftChanged();
}

std::optional<std::vector<GridRow>> CEditContext::UnwrittenRows() const
{
    if (m_node.isNull() || !m_bShowing)
        return std::nullopt;
    std::vector<GridRow> rows = CopyRows();
    bool bChanged = m_bEdited;
    if (m_draft.nRow >= 0 && m_draft.nRow < GetRowCount()) {
        GridRow &row = rows[static_cast<std::size_t>(m_draft.nRow)];
        QString &strTarget = m_draft.bName ? row.strName : row.strValue;
        if (!(m_draft.bName && IsNameReadOnly(row.nKind)) && strTarget != m_draft.strText) {
            strTarget = m_draft.strText;
            bChanged = true;
        }
    }
    if (!bChanged)
        return std::nullopt;
    return rows;
}

std::optional<CRowsCommit> CEditContext::Commit()
{
    emit aboutToReadRows();
    // Rows that were only looked at leave the node exactly as it was.
    if (!m_bEdited || m_node.isNull())
        return std::nullopt;
    std::vector<GridRow> rows = CopyRows();
    m_bCommitting = true;
    CRowsCommit result = m_pEditor->SetRows(m_node, rows);
    m_bCommitting = false;
    m_bEdited = false;
    // The rows stay on screen after a save or a tree command: where the node did not take them
    // as they were (a refused or empty row, a new kind's fixed name), they show what it holds,
    // as the other windows showing it do.
    if (!RowsShowNode())
        Fill(m_node);
    return result;
}

bool CEditContext::RowsShowNode() const
{
    const auto text = [](std::string_view utf8) {
        return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    };
    std::size_t nRow = 0;
    bool bSame = true;
    ForEachNodeRow(m_node.view(),
                   [&](dom::NodeType kind, std::string_view name, std::string_view value) {
                       const GridRow *pRow = GetRow(static_cast<int>(nRow++));
                       bSame = bSame && pRow != nullptr && pRow->nKind == kind &&
                               pRow->strName == text(name) && pRow->strValue == text(value);
                   });
    // Then the empty row for a new attribute, as a fill leaves it.
    const GridRow *pLast = GetRow(static_cast<int>(nRow));
    return bSame && m_rows.size() == nRow + 1 && pLast->nKind == dom::NODE_ATTRIBUTE &&
           pLast->strName.isEmpty() && pLast->strValue.isEmpty();
}

void CEditContext::OnDocumentEdited(const CDocumentEdit &edit)
{
    if (m_node.isNull())
        return;
    switch (edit.kind) {
    case CDocumentEdit::Kind::Remove:
        // Rows of a node that left the document are dropped, never written anywhere.
        for (dom::Node node = m_node; node; node = node.parentNode()) {
            if (node == edit.node) {
                Clear();
                return;
            }
        }
        break;
    case CDocumentEdit::Kind::Replace:
        // A renamed element keeps its parts: the rows follow it to the new node.
        if (edit.oldNode == m_node)
            m_node = edit.node;
        break;
    case CDocumentEdit::Kind::SetRows:
        // Another window wrote this node: show what it holds now, unless these rows carry
        // edits of their own (they are written at their own commit).
        if (!m_bCommitting && edit.node == m_node && !m_bEdited)
            Fill(m_node);
        break;
    case CDocumentEdit::Kind::Insert:
    case CDocumentEdit::Kind::Move:
        // The node shown is still in the document: its rows stay.
        break;
    }
}
