#pragma once

#include "TreeItemModel.h"

#include <QPointer>
#include <QString>
#include <cstdint>

// A cheap value naming one item of one tree pane, copied freely. It never dangles: once its
// item is deleted (alone, with an ancestor, or with every item) or its pane is destroyed, it
// reads as null, and a later item in the same slot is not mistaken for it. Queries on a null
// reference return null references, -1, empty strings or null nodes; changes do nothing.
class CTreeItemRef
{
public:
    enum class Where { First, Last };

    CTreeItemRef() = default;
    // The item `id` of `pModel` as it is now; null for the root or a slot without an item.
    CTreeItemRef(CTreeItemModel *pModel, CTreeItemModel::ItemId id);

    bool IsNull() const;
    explicit operator bool() const { return !IsNull(); }
    // Equal when both name the same live item, or both are null.
    friend bool operator==(const CTreeItemRef &a, const CTreeItemRef &b);

    // Neighbours; null at the ends. The parent of a top-level item is null.
    CTreeItemRef GetParent() const;
    CTreeItemRef GetFirstChild() const;
    CTreeItemRef GetNextSibling() const;
    CTreeItemRef GetPrevSibling() const;
    int GetChildCount() const;
    // True when this item is `other` or one of its ancestors.
    bool Contains(const CTreeItemRef &other) const;

    // The text shown: the node's name, or the text the item was inserted with.
    QString GetLabel() const;
    // The image index (0 document, 1 element, 7 cut); -1 when null.
    int GetImage() const;
    void SetImage(int nImage) const;

    // The item's node (a counted handle); null when the reference is.
    dom::Node GetNode() const;
    // False when the node is null or belongs to another document (nothing changes then).
    bool SetNode(const dom::Node &node) const;

    // Inserts a child item for `node` with `strLabel` and image nImage (-1: the default image
    // 0) as the first or last child, or just after the child `after`. Returns the new item;
    // null when this reference is null, `after` is not a child of it, or the node is null or
    // of another document.
    CTreeItemRef InsertChild(const QString &strLabel, int nImage, const dom::Node &node,
                             Where where = Where::Last) const;
    CTreeItemRef InsertChildAfter(const CTreeItemRef &after, const QString &strLabel, int nImage,
                                  const dom::Node &node) const;

    CTreeItemModel *GetModel() const;
    // The slot id in the model; CTreeItemModel::kRootId when null.
    CTreeItemModel::ItemId GetId() const;

private:
    CTreeItemRef InsertChildAt(int nRow, const QString &strLabel, int nImage,
                               const dom::Node &node) const;
    CTreeItemRef Wrap(CTreeItemModel::ItemId id) const;

    QPointer<CTreeItemModel> m_pModel;
    CTreeItemModel::ItemId m_nId = CTreeItemModel::kRootId;
    std::uint32_t m_nGeneration = 0;
    std::uint32_t m_nEpoch = 0;
};
