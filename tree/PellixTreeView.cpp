#include "PellixTreeView.h"

#include "BuildTreeFromDOM.h"
#include "DocumentEditor.h"
#include "EditContext.h"
#include "Images.h"
#include "MessageBox.h"
#include "NodeRows.h"
#include "PellixDoc.h"
#include "TreeColumnSizer.h"
#include "TreeItemDelegate.h"
#include "TreeItemModel.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QToolTip>
#include <climits>

namespace
{
CDocumentEditor *EditorOf(CDocument *pDoc)
{
    auto *pXmlDoc = qobject_cast<CPellixDoc *>(pDoc);
    return pXmlDoc != nullptr ? pXmlDoc->GetEditor() : nullptr;
}
} // namespace

CPellixTreeView::CPellixTreeView(CDocument *pDoc, QWidget *pParent)
    : QTreeView(pParent), CView(this, pDoc), m_pModel(new CTreeItemModel(this)),
      m_pDelegate(new CTreeItemDelegate(this)), m_pEditor(EditorOf(pDoc)),
      m_pRenameTimer(new QTimer(this)), m_pDragImage(new QLabel(this, Qt::ToolTip))
{
    setModel(m_pModel);
    setItemDelegate(m_pDelegate);
    setHeaderHidden(true);
    // Every row has the same height: the view then lays out a million items without asking
    // each for its size.
    setUniformRowHeights(true);
    // Labels wider than the pane scroll sideways; only the rows in view are measured.
    new CTreeColumnSizer(this);
    setRootIsDecorated(true);
    setAnimated(false);
    setIconSize(kTreeImageSize);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // A double click opens or closes an item; F2 or a click on the selected label renames it
    // (mouseReleaseEvent), once no second click has made it a double click.
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setExpandsOnDoubleClick(true);
    m_pRenameTimer->setSingleShot(true);
    connect(m_pRenameTimer, &QTimer::timeout, this, [this] {
        if (m_renameIndex.isValid() && m_renameIndex == currentIndex())
            edit(m_renameIndex);
    });
    // The label tooltip hides as soon as the mouse leaves the label.
    viewport()->setMouseTracking(true);
    // Drags of other programs are answered here (with no drop), never by the main window.
    viewport()->setAcceptDrops(true);
    m_pDragImage->setPixmap(::TreeImage(IMG_ELEMENT));
    m_pDragImage->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_pDragImage->setAttribute(Qt::WA_ShowWithoutActivating);
    m_pDragImage->adjustSize();
    m_pModel->SetRenameHandler([this](CTreeItemModel::ItemId id, const QString &strText) {
        return OnEndLabelEdit(CTreeItemRef(m_pModel, id), strText);
    });
    connect(this, &QTreeView::expanded, this, [this](const QModelIndex &index) {
        if (m_pModel->DepthOf(m_pModel->IdOf(index)) >= kMaxShownDepth)
            collapse(index);
    });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) { OnCurrentChanged(current); });
    RegisterCommands();
    if (auto *pXmlDoc = qobject_cast<CPellixDoc *>(pDoc)) {
        connect(pXmlDoc, &CPellixDoc::domAboutToBeReplaced, this,
                &CPellixTreeView::DeleteAllTreeItems);
        connect(pXmlDoc, &CPellixDoc::domReplaced, this,
                [this, pXmlDoc] { BuildTreeFromDocument(pXmlDoc->GetXMLDocument()); });
        connect(m_pEditor, &CDocumentEditor::edited, this, &CPellixTreeView::OnDocumentEdited);
        connect(m_pEditor, &CDocumentEditor::replayed, this, &CPellixTreeView::OnReplayed);
        // One more window on a document that is already open shows it at once.
        if (!pXmlDoc->GetXMLDocument().isNull())
            BuildTreeFromDocument(pXmlDoc->GetXMLDocument());
    }
}

CPellixTreeView::~CPellixTreeView() = default;

void CPellixTreeView::SetEditContext(CEditContext *pContext)
{
    m_pEdit = pContext;
}

CTreeItemRef CPellixTreeView::AddItem(int nKind, const QString &strLabel, const dom::Node &node,
                                      const CTreeItemRef &parent)
{
    if (nKind != 0 && nKind != 1 && (nKind < 3 || nKind > 6)) {
        AfxMessageBox(QStringLiteral("Invalid Item Type in AddItem"));
        return {};
    }
    if (!parent.IsNull() && parent.GetModel() != m_pModel)
        return {};
    const CTreeItemModel::ItemId parentId = nKind == 0 ? CTreeItemModel::kRootId : parent.GetId();
    return CTreeItemRef(m_pModel,
                        m_pModel->InsertNewItem(parentId, node, nKind, strLabel, INT_MAX));
}

void CPellixTreeView::SetItemTip(const CTreeItemRef &item, const QString &strText)
{
    if (item.GetModel() == m_pModel)
        m_pModel->SetTip(item.GetId(), strText);
}

QString CPellixTreeView::GetItemTip(const CTreeItemRef &item) const
{
    if (item.GetModel() != m_pModel)
        return {};
    if (const QString *pStored = m_pModel->StoredTip(item.GetId()))
        return *pStored;
    return AttributeTipText(m_pModel->NodeViewOf(item.GetId()));
}

CTreeItemRef CPellixTreeView::GetRootItem() const
{
    return CTreeItemRef(m_pModel, m_pModel->ChildAt(CTreeItemModel::kRootId, 0));
}

CTreeItemRef CPellixTreeView::GetSelectedItem() const
{
    return ItemFromIndex(selectionModel()->currentIndex());
}

CTreeItemRef CPellixTreeView::HitTest(const QPoint &ptViewport) const
{
    return ItemFromIndex(indexAt(ptViewport));
}

CTreeItemRef CPellixTreeView::ItemFromIndex(const QModelIndex &index) const
{
    return CTreeItemRef(m_pModel, m_pModel->IdOf(index));
}

QModelIndex CPellixTreeView::IndexFromItem(const CTreeItemRef &item) const
{
    return item.GetModel() == m_pModel ? m_pModel->IndexOf(item.GetId()) : QModelIndex();
}

void CPellixTreeView::SelectItem(const CTreeItemRef &item)
{
    const QModelIndex index = IndexFromItem(item);
    selectionModel()->setCurrentIndex(index, index.isValid() ? QItemSelectionModel::ClearAndSelect
                                                             : QItemSelectionModel::Clear);
}

void CPellixTreeView::DeleteAllTreeItems()
{
    DropShownRows();
    if (m_bDragging)
        EndDrag(false, QPoint(), Qt::NoModifier);
    m_pModel->Clear();
    m_itemCurrent = m_itemPrevious = CTreeItemRef();
    // A search after a reload starts afresh.
    ClearMatches();
}

void CPellixTreeView::AddDocumentItem(const QString &label, const dom::Document &document)
{
    AddItem(0, label, document, CTreeItemRef());
}

void CPellixTreeView::BuildTreeFromDocument(const dom::Document &document)
{
    if (!m_pModel->IsEmpty())
        DeleteAllTreeItems();
    BuildTreeFromDOM(document, 0, this, CTreeItemRef());
    // Show the root element at once; deeper levels stay closed.
    const QModelIndex root = IndexFromItem(GetRootItem());
    if (root.isValid())
        expand(root);
}

void CPellixTreeView::CommitShownItem()
{
    EndGridEdit();
    if (!m_itemPrevious.IsNull())
        CommitItem(m_itemPrevious);
}

bool CPellixTreeView::edit(const QModelIndex &index, EditTrigger trigger, QEvent *pEvent)
{
    const bool bStarted = QTreeView::edit(index, trigger, pEvent);
    if (bStarted) {
        m_bEditingLabel = true;
        m_labelEditIndex = index;
    }
    return bStarted;
}

void CPellixTreeView::closeEditor(QWidget *pEditor, QAbstractItemDelegate::EndEditHint hint)
{
    m_bEditingLabel = false;
    QTreeView::closeEditor(pEditor, hint);
}

void CPellixTreeView::keyPressEvent(QKeyEvent *pEvent)
{
    if (m_bDragging) {
        if (pEvent->key() == Qt::Key_Escape)
            EndDrag(false, QPoint(), Qt::NoModifier);
        pEvent->accept();
        return;
    }
    if (pEvent->key() == Qt::Key_Delete &&
        (pEvent->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        EndGridEdit();
        RemoveItem(m_itemCurrent);
        pEvent->accept();
        return;
    }
    QTreeView::keyPressEvent(pEvent);
}

void CPellixTreeView::mousePressEvent(QMouseEvent *pEvent)
{
    // A right click opens the popup for the item under the cursor without selecting it.
    if (pEvent->button() == Qt::RightButton) {
        pEvent->accept();
        return;
    }
    const QModelIndex index = indexAt(pEvent->position().toPoint());
    // A left press on an item may start a drag of it.
    m_itemPressed = pEvent->button() == Qt::LeftButton ? ItemFromIndex(index) : CTreeItemRef();
    m_ptPressed = pEvent->position().toPoint();
    m_bPressOnSelectedLabel = pEvent->button() == Qt::LeftButton && index.isValid() &&
                              index == currentIndex() &&
                              LabelRect(index).contains(pEvent->position().toPoint());
    QTreeView::mousePressEvent(pEvent);
}

void CPellixTreeView::mouseReleaseEvent(QMouseEvent *pEvent)
{
    QTreeView::mouseReleaseEvent(pEvent);
    m_itemPressed = CTreeItemRef();
    if (m_bDragging && pEvent->button() == Qt::LeftButton) {
        EndDrag(true, pEvent->position().toPoint(), pEvent->modifiers());
        return;
    }
    const QModelIndex index = indexAt(pEvent->position().toPoint());
    if (m_bPressOnSelectedLabel && index == currentIndex()) {
        m_renameIndex = index;
        m_pRenameTimer->start(QApplication::doubleClickInterval());
    }
    m_bPressOnSelectedLabel = false;
}

void CPellixTreeView::mouseDoubleClickEvent(QMouseEvent *pEvent)
{
    m_pRenameTimer->stop();
    m_bPressOnSelectedLabel = false;
    QTreeView::mouseDoubleClickEvent(pEvent);
}

void CPellixTreeView::contextMenuEvent(QContextMenuEvent *pEvent)
{
    if (pEvent->reason() == QContextMenuEvent::Mouse) {
        ShowPopupMenu(pEvent->pos(), pEvent->globalPos());
        return;
    }
    const QPoint ptItem = visualRect(currentIndex()).center();
    ShowPopupMenu(ptItem, viewport()->mapToGlobal(ptItem));
}

bool CPellixTreeView::viewportEvent(QEvent *pEvent)
{
    if (pEvent->type() == QEvent::ToolTip) {
        const auto *pHelp = static_cast<QHelpEvent *>(pEvent);
        ShowItemTip(pHelp->pos(), pHelp->globalPos());
        return true;
    }
    return QTreeView::viewportEvent(pEvent);
}

QRect CPellixTreeView::LabelRect(const QModelIndex &index) const
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    return m_pDelegate->LabelTextRect(option, index);
}

void CPellixTreeView::ShowItemTip(const QPoint &ptViewport, const QPoint &ptGlobal)
{
    const QModelIndex index = indexAt(ptViewport);
    const QRect rect = index.isValid() ? LabelRect(index) : QRect();
    // The edges of the label count as inside it.
    const bool bOverLabel = rect.isValid() && ptViewport.x() >= rect.left() &&
                            ptViewport.x() <= rect.left() + rect.width();
    const QString strTip = bOverLabel ? GetItemTip(ItemFromIndex(index)) : QString();
    if (strTip.isEmpty()) {
        QToolTip::hideText();
        return;
    }
    QToolTip::showText(ptGlobal, strTip, viewport(), rect.adjusted(0, 0, 1, 0));
}

void CPellixTreeView::EndGridEdit()
{
    if (m_pEdit != nullptr)
        m_pEdit->EndEditing();
}
