#pragma once

#include "Node.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

// The tree pane's items: the document item and one item per element, each naming its DOM
// node. A document of a million elements must stay cheap, so an item is a small record in a
// page of records: its node as an uncounted view (the model holds one counted handle that
// keeps the whole document alive), its image and its children by id. The label is the node's
// name, read when shown.
//
// Items made from the DOM get their children's items only when someone first asks for them
// (a view expanding the item, a command walking down): a gigabyte document opens with a
// handful of items. Until then the children exist only in the DOM, so nobody has seen them and
// making their items needs no announcement; hasChildren() reads the DOM meanwhile.
//
// Items are addressed by slot id. A slot's generation changes when its item is deleted, and
// the model's epoch changes when every item is deleted, so a stale (id, generation, epoch)
// triple never names a later item (see CTreeItemRef).
class CTreeItemModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    using ItemId = std::uint32_t;
    // The invisible root that holds the top-level items; as an item reference it means none.
    static constexpr ItemId kRootId = 0;

    explicit CTreeItemModel(QObject *pParent);
    ~CTreeItemModel() override;

    QModelIndex index(int nRow, int nColumn, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int nRole = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // A finished label edit: handed to the rename handler, whose answer is returned.
    bool setData(const QModelIndex &index, const QVariant &value,
                 int nRole = Qt::EditRole) override;

    // Decides a label edit of item `id` (true: accepted). Without a handler edits are refused.
    void SetRenameHandler(std::function<bool(ItemId id, const QString &strText)> fnRename);

    // The item of `index` (kRootId for an invalid index) and back.
    ItemId IdOf(const QModelIndex &index) const;
    QModelIndex IndexOf(ItemId id) const;

    // True when `id` names an item that is in the tree now with this generation and epoch.
    bool IsLive(ItemId id, std::uint32_t nGeneration, std::uint32_t nEpoch) const;
    std::uint32_t GenerationOf(ItemId id) const;
    std::uint32_t Epoch() const { return m_nEpoch; }
    bool IsEmpty() const { return ChildCount(kRootId) == 0; }

    ItemId ParentOf(ItemId id) const;
    int RowOf(ItemId id) const;
    // Both make the children's items of an item made from the DOM first.
    int ChildCount(ItemId id) const;
    // kRootId when `nRow` is out of range.
    ItemId ChildAt(ItemId id, int nRow) const;
    // True once the item's children have items (always for items not made from the DOM). An
    // item that is not filled has no child items; its children are only in the DOM.
    bool IsFilled(ItemId id) const;
    // The child items there are now, without making any.
    int FilledChildCount(ItemId id) const;
    // The children of `id`, which is not filled, changed in the DOM: views ask again whether
    // it has any.
    void ChildrenChanged(ItemId id);
    // Fills `id` now, leaving out the child `skip`, which has just come to it in the DOM and
    // whose item is to be moved there.
    void FillWithout(ItemId id, dom::NodeView skip);
    int ImageOf(ItemId id) const;
    // 1 for a top-level item, one more per level; saturates at 65535.
    int DepthOf(ItemId id) const;
    void SetImage(ItemId id, int nImage);

    // The node of the item: a counted handle, or null for the root.
    dom::Node NodeOf(ItemId id) const;
    dom::NodeView NodeViewOf(ItemId id) const;
    // Gives the item another node of the same document; false (nothing changed) for a null
    // node or one of another document. The label shown becomes the new node's name.
    bool SetNode(ItemId id, const dom::Node &node);

    // The label: the node's name unless an insert gave the item another text.
    QString LabelOf(ItemId id) const;
    // The other text an insert gave the item, or null when the label is the node's name.
    const QString *StoredLabel(ItemId id) const;
    // The tooltip text stored for the item, or null when none was stored.
    const QString *StoredTip(ItemId id) const;
    void SetTip(ItemId id, const QString &strText);

    // Makes `node`'s document the one the items belong to (when there is none yet). False for
    // a null node or a node of another document.
    bool AdoptDocument(const dom::Node &node);

    // Building. NewItem allocates a detached item under `parent` (not yet a child, unseen by
    // views); with `bFromDom` its children's items are made from the DOM when first asked for.
    // InsertItem announces it.
    ItemId NewItem(ItemId parent, dom::NodeView node, int nImage, bool bFromDom);
    // Announces detached item `id` as child number nRow of its parent (clamped to the end).
    void InsertItem(ItemId id, int nRow);
    // A new item for `node` with image nImage and label strLabel, announced as child nRow of
    // `parent` (clamped to the end); `bFromDom` as for NewItem. kRootId when the node is null
    // or of another document.
    ItemId InsertNewItem(ItemId parent, const dom::Node &node, int nImage, const QString &strLabel,
                         int nRow, bool bFromDom = false);

    // Moves `id` with its subtree to child number nRow of `parent`, counted after the move
    // (clamped to the end). The items keep their ids; false when nothing moved (the place is
    // the item's own, or `parent` lies in its subtree).
    bool MoveItem(ItemId id, ItemId parent, int nRow);
    // Deletes `id` and its whole subtree.
    void RemoveItem(ItemId id);
    // Deletes every item and forgets the document.
    void Clear();

private:
    // 56 bytes; children by id so that index(row) is O(1), and the item's own row so that
    // parent() is too.
    struct Item {
        dom::NodeView node;
        std::vector<ItemId> children;
        ItemId parent = kRootId;
        std::uint32_t nRow = 0;
        std::uint32_t nGeneration = 0;
        std::uint8_t nImage : 6 = 0;
        bool bUsed : 1 = false;
        // False while the children's items are still to be made from the DOM.
        bool bFilled : 1 = true;
        // Levels below the root, saturating: enough to keep views out of runaway nesting.
        std::uint16_t nDepth = 0;
    };
    static_assert(sizeof(Item) <= 56, "items must stay small");
    static constexpr unsigned kPageBits = 14;
    static constexpr std::uint32_t kPageSize = 1u << kPageBits;

    Item &At(ItemId id) { return m_pages[id >> kPageBits][id & (kPageSize - 1)]; }
    const Item &At(ItemId id) const { return m_pages[id >> kPageBits][id & (kPageSize - 1)]; }
    ItemId AllocateSlot();
    // Makes the items of the element children of an item made from the DOM. Views have not
    // seen them (see the class comment), so this changes nothing they know: const.
    void Fill(ItemId id, dom::NodeView skip = {}) const;
    void FreeSubtree(ItemId id);
    void RenumberFrom(ItemId parent, int nRow);
    // Sets the depth of `id` and its subtree from its parent's.
    void UpdateDepths(ItemId id);
    void InitStorage();
    void NotifyChanged(ItemId id);
    // Stores a label when it differs from the node's name.
    void SetLabel(ItemId id, const QString &strLabel);

    std::vector<std::unique_ptr<Item[]>> m_pages;
    std::uint32_t m_nSlots = 0;
    std::vector<ItemId> m_freeSlots;
    std::uint32_t m_nEpoch = 0;
    // Keeps the document of the items' node views alive, and turns views into handles.
    dom::Node m_document;
    // Sparse: only items whose label or tooltip was set explicitly.
    std::unordered_map<ItemId, QString> m_labels;
    std::unordered_map<ItemId, QString> m_tips;
    std::function<bool(ItemId, const QString &)> m_fnRename;
    mutable std::array<QIcon, 8> m_images;
};
