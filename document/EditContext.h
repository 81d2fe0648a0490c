#pragma once

// The node a window shows in its grid and the rows that copy its parts. The rows are the only
// copy of the user's edits until they are committed into the node: when the window shows
// another node, and before the document is saved or closed. Each window has one; the document
// knows them all, so a save from any window commits the edits of every window.

#include "GridRow.h"
#include "Node.h"
#include "NodeRows.h"

#include <QObject>
#include <memory>
#include <optional>
#include <vector>

class CDocumentEditor;
struct CDocumentEdit;

class CEditContext : public QObject
{
    Q_OBJECT

public:
    // Rows are committed through `pEditor`, which must outlive the context.
    CEditContext(CDocumentEditor *pEditor, QObject *pParent);
    ~CEditContext() override;

    // The node shown; null when none is (or the rows were filled by hand).
    const dom::Node &GetNode() const { return m_node; }
    // True while the rows stand for a node: rows typed now have somewhere to go.
    bool IsShowingNode() const { return m_bShowing; }
    // True after a change to the rows since they were filled.
    bool AreRowsEdited() const { return m_bEdited; }

    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    // The row at nPos in fill and insert order, or null. Valid until the rows are dropped.
    const GridRow *GetRow(int nPos) const;

    // Shows `node`: its rows and the empty row for a new attribute. The rows are clean.
    void Fill(const dom::Node &node);
    // Rows added between BeginFill and EndFill are the node's own, not edits.
    void BeginFill(const dom::Node &node);
    void EndFill();
    // Drops the rows without writing them and shows nothing.
    void Clear();

    // Edits: each marks the rows edited and announces itself; a change to nothing is no edit.
    // InsertRow clamps nPos to the rows there are and returns the position used; outside a
    // fill it is an edit.
    int InsertRow(int nPos, GridRow row);
    int AppendRow(dom::NodeType kind);
    bool SetKind(int nRow, dom::NodeType kind);
    // A read-only name (text, CDATA, comment rows) is not changed.
    bool SetName(int nRow, const QString &strName);
    bool SetValue(int nRow, const QString &strValue);

    // Ends any open cell editor of the window: its text goes into the rows.
    void EndEditing() { emit aboutToReadRows(); }
    // Ends any open editor, then writes the rows into the node when they were edited since
    // the fill. Returns what the commit did, or nothing when there was nothing to write.
    std::optional<CRowsCommit> Commit();

    // What an open cell editor of the window holds for row nRow's name or value, typed and not
    // yet in the rows; cleared when the editor closes or the rows are read again.
    void SetDraft(int nRow, bool bName, const QString &strText);
    void ClearDraft();
    // The rows with the draft in place, when they differ from the node (edited rows, or a
    // draft that changes a row); nothing otherwise. The node keeps what it holds.
    std::optional<std::vector<GridRow>> UnwrittenRows() const;

    // Text, CDATA and comment nodes carry fixed names that the user cannot type over.
    static bool IsNameReadOnly(dom::NodeType kind);

signals:
    // Before the rows are read for a commit: an open cell editor stores its text now.
    void aboutToReadRows();
    void rowsAboutToReset();
    void rowsReset();
    void rowAboutToBeInserted(int nRow);
    void rowInserted(int nRow);
    void rowChanged(int nRow);
    // A change to the rows (they now differ from the node).
    void rowsEdited();
    // The draft changed.
    void draftChanged();

private:
    void OnDocumentEdited(const CDocumentEdit &edit);
    void MarkEdited();
    // Applies fnChange to row nRow; when it reports a change, announces it as an edit.
    template <typename Change> bool ChangeRow(int nRow, Change fnChange);
    void Reset(const dom::Node &node, bool bShowing);
    std::vector<GridRow> CopyRows() const;
    // True when the rows are what Fill would make of the node.
    bool RowsShowNode() const;

    CDocumentEditor *const m_pEditor;
    dom::Node m_node;
    std::vector<std::unique_ptr<GridRow>> m_rows;
    bool m_bShowing = false;
    bool m_bEdited = false;
    bool m_bFilling = false;
    bool m_bCommitting = false;
    struct Draft {
        int nRow = -1;
        bool bName = false;
        QString strText;
    };
    Draft m_draft;
};
