#include "DocumentEditor.h"

#include "DomFunctions.h"

#include <utility>

namespace
{
CDocumentEdit MakeEdit(CDocumentEdit::Kind kind, const dom::Node &parent, const dom::Node &node)
{
    CDocumentEdit edit;
    edit.kind = kind;
    edit.parent = parent;
    edit.node = node;
    return edit;
}
} // namespace

CDocumentEditor::CDocumentEditor(QObject *pParent) : QObject(pParent) {}

CDocumentEditor::~CDocumentEditor() = default;

HRESULT CDocumentEditor::InsertNode(const dom::Node &parent, const dom::Node &node,
                                    const dom::Node &before)
{
    if (parent.isNull() || node.isNull())
        return E_POINTER;
    return InsertAndAnnounce(MakeEdit(CDocumentEdit::Kind::Insert, parent, node), before);
}

HRESULT CDocumentEditor::InsertAndAnnounce(CDocumentEdit edit, const dom::Node &before)
{
    dom::Node target = edit.parent;
    const HRESULT result = target.insertBefore(edit.node, before);
    if (FAILED(result))
        return result;
    edit.reference = before;
    emit edited(edit);
    return result;
}

HRESULT CDocumentEditor::RemoveNode(const dom::Node &node)
{
    dom::Node parent = node.parentNode();
    if (parent.isNull())
        return E_FAIL;
    const dom::Node reference = node.nextSibling();
    const HRESULT result = parent.removeChild(node);
    if (FAILED(result))
        return result;
    CDocumentEdit edit = MakeEdit(CDocumentEdit::Kind::Remove, parent, node);
    edit.reference = reference;
    emit edited(edit);
    return result;
}

HRESULT CDocumentEditor::MoveNode(const dom::Node &node, const dom::Node &parent,
                                  const dom::Node &before)
{
    const dom::Node oldParent = node.parentNode();
    if (oldParent.isNull() || parent.isNull())
        return E_FAIL;
    CDocumentEdit edit = MakeEdit(CDocumentEdit::Kind::Move, parent, node);
    edit.oldParent = oldParent;
    edit.oldReference = node.nextSibling();
    return InsertAndAnnounce(std::move(edit), before);
}

HRESULT CDocumentEditor::ReplaceNode(const dom::Node &oldNode, const dom::Node &newNode)
{
    const dom::Node parent = oldNode.parentNode();
    const HRESULT result = ReplaceDOMNode(oldNode, newNode);
    if (FAILED(result))
        return result;
    CDocumentEdit edit = MakeEdit(CDocumentEdit::Kind::Replace, parent, newNode);
    edit.oldNode = oldNode;
    emit edited(edit);
    return result;
}

CRowsCommit CDocumentEditor::SetRows(const dom::Node &node, const std::vector<GridRow> &rows)
{
    if (node.isNull())
        return {};
    CDocumentEdit edit = MakeEdit(CDocumentEdit::Kind::SetRows, dom::Node(), node);
    edit.oldParts = NodeRowParts(node);
    CRowsCommit result = WriteRowsIntoNode(node, rows);
    edit.newParts = NodeRowParts(node);
    emit edited(edit);
    return result;
}
