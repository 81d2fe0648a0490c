#include "TreeTestWindow.h"
#include "TreePath.h"

#include "CmdUI.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>

TreeTest::TreeTest()
{
    m_tester = std::make_unique<QAbstractItemModelTester>(
        tree->model(), QAbstractItemModelTester::FailureReportingMode::Warning);
    EXPECT_TRUE(window->isVisible());
}

TreeTest::~TreeTest()
{
    m_tester.reset();
}

bool TreeTest::Open(const std::string &xml)
{
    const std::string path = dir.write("in" + std::to_string(m_nSaves++) + ".xml", xml);
    const bool bLoaded = doc->OpenXMLDocument(QString::fromStdString(path));
    recorder.clear();
    return bLoaded;
}

void TreeTest::New()
{
    ASSERT_TRUE(doc->OnNewDocument());
}

CTreeItemRef TreeTest::Item(const QString &strPath) const
{
    return ItemAtPath(tree, strPath);
}

void TreeTest::Select(const CTreeItemRef &item)
{
    ASSERT_FALSE(item.IsNull());
    tree->selectionModel()->setCurrentIndex(tree->IndexFromItem(item),
                                            QItemSelectionModel::ClearAndSelect);
}

QStringList TreeTest::Rows() const
{
    QStringList rows;
    for (int nRow = 0; nRow < grid->GetRowCount(); ++nRow) {
        const GridRow *pRow = grid->GetRow(nRow);
        rows << QStringLiteral("%1|%2|%3").arg(pRow->nKind).arg(pRow->strName, pRow->strValue);
    }
    return rows;
}

void TreeTest::EditCell(int nRow, int nCol, const QString &strText)
{
    QAbstractItemModel *pModel = grid->model();
    ASSERT_TRUE(pModel->setData(pModel->index(nRow, nCol), strText));
}

void TreeTest::Command(int nID)
{
    if (!tree->OnCmdMsg(nID, nullptr)) {
        ASSERT_TRUE(doc->OnCmdMsg(nID, nullptr)) << "no handler for " << nID;
    }
}

bool TreeTest::IsEnabled(int nID)
{
    CCmdUI cmdUI(nID);
    RouteUpdateState({tree, doc.get()}, cmdUI);
    return cmdUI.IsEnabled();
}

void TreeTest::Popup(const CTreeItemRef &item, const std::function<void(QMenu *)> &fnShown,
                     int nChoose)
{
    bool bShown = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *pMenu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (pMenu == nullptr)
            return;
        poll.stop();
        bShown = true;
        if (fnShown)
            fnShown(pMenu);
        for (QAction *pAction : pMenu->actions()) {
            if (nChoose != 0 && pAction->data().toInt() == nChoose)
                pMenu->setActiveAction(pAction);
        }
        if (nChoose != 0)
            QTest::keyClick(pMenu, Qt::Key_Return);
        else
            pMenu->close();
    });
    poll.start();
    const QModelIndex index = tree->IndexFromItem(item);
    tree->scrollTo(index);
    QApplication::processEvents();
    const QPoint pt = index.isValid() ? tree->visualRect(index).center()
                                      : QPoint(5, tree->viewport()->height() - 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, pt, tree->viewport()->mapToGlobal(pt));
    QApplication::sendEvent(tree->viewport(), &event);
    EXPECT_TRUE(bShown) << "the popup did not show";
}

QStringList ElementNames(const dom::Node &parent)
{
    QStringList names;
    for (dom::Node child = parent.firstChild(); child; child = child.nextSibling()) {
        if (child.nodeType() == dom::NODE_ELEMENT)
            names << QString::fromUtf8(child.nodeName());
    }
    return names;
}

bool ItemsMatchNodes(const CTreeItemRef &parent)
{
    dom::Node node = parent.GetNode().firstChild();
    for (CTreeItemRef child = parent.GetFirstChild(); child; child = child.GetNextSibling()) {
        while (node && node.nodeType() != dom::NODE_ELEMENT)
            node = node.nextSibling();
        if (!(child.GetNode() == node) || !ItemsMatchNodes(child))
            return false;
        node = node.nextSibling();
    }
    while (node && node.nodeType() != dom::NODE_ELEMENT)
        node = node.nextSibling();
    return node.isNull();
}

bool IsMenuItemEnabled(QMenu *pMenu, int nID)
{
    for (QAction *pAction : pMenu->actions()) {
        if (pAction->data().toInt() == nID)
            return pAction->isEnabled();
    }
    ADD_FAILURE() << "no popup entry " << nID;
    return false;
}

void TreeTest::RenameSelected(const QString &strText)
{
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_F2);
    auto *pEditor = qobject_cast<QLineEdit *>(tree->indexWidget(tree->currentIndex()));
    ASSERT_NE(pEditor, nullptr) << "no label editor opened";
    pEditor->selectAll();
    if (strText.isEmpty())
        QTest::keyClick(pEditor, Qt::Key_Backspace);
    else
        QTest::keyClicks(pEditor, strText);
    QTest::keyClick(pEditor, Qt::Key_Return);
    // The editor hands its text over from the event loop.
    QApplication::processEvents();
}

std::string TreeTest::Save()
{
    const std::string path = dir.file("out" + std::to_string(m_nSaves++) + ".xml");
    EXPECT_TRUE(doc->SaveXMLDocument(QString::fromStdString(path)));
    return ReadBytes(path);
}

void PrintTo(const CTreeItemRef &item, std::ostream *pStream)
{
    if (item.IsNull())
        *pStream << "(no item)";
    else
        *pStream << "item " << item.GetId() << " \"" << item.GetLabel().toStdString() << "\"";
}

void PrintTo(const QString &strText, std::ostream *pStream)
{
    *pStream << '"' << strText.toStdString() << '"';
}

void PrintTo(const QStringList &list, std::ostream *pStream)
{
    *pStream << '{' << list.join(QStringLiteral(", ")).toStdString() << '}';
}
