// The tree's clipboard across windows: a paste shows in every window of its document, and
// subtrees go between documents; drags of other programs find no drop on the tree.

#include "GuiTestKit.h"

#include "ChildFrame.h"
#include "PellixDoc.h"
#include "PellixTreeView.h"
#include "Resource.h"
#include "TreeClipboard.h"
#include "TreePath.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QMdiArea>
#include <QMimeData>
#include <QUrl>

namespace
{

class TreeClipboardWindows : public PellixTest
{
protected:
    void SetUp() override
    {
        TreeClipboard() = CTreeClipboard();
        ASSERT_TRUE(StartApp());
    }
    CPellixDoc *Open(const char *name, const std::string &xml)
    {
        CPellixDoc *pDoc = OpenDoc(WriteFile(name, xml));
        EXPECT_NE(pDoc, nullptr);
        return pDoc;
    }
    // Runs command nID in the tree of `pFrame` on the item at `strPath`.
    void Run(CChildFrame *pFrame, const QString &strPath, int nID)
    {
        CPellixTreeView *pTree = pFrame->GetTreePane();
        const CTreeItemRef item = ItemAtPath(pTree, strPath);
        ASSERT_FALSE(item.IsNull()) << strPath.toStdString();
        pTree->SelectItem(item);
        Main().MDIActivate(pFrame);
        pFrame->SetActiveView(pTree);
        ASSERT_TRUE(Execute(nID));
    }
    static std::string Saved(CPellixDoc *pDoc)
    {
        const QString path = pDoc->GetPathName();
        EXPECT_TRUE(pDoc->SaveXMLDocument(path));
        return ReadBytes(path.toStdString());
    }
};

// Drags `data` over the middle of `pWidget` and drops it there, as another program would;
// returns whether the position accepted it.
bool DragAndDrop(QWidget *pWidget, const QMimeData &data)
{
    const QPoint pt = pWidget->rect().center();
    QDragEnterEvent enter(pt, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pWidget, &enter);
    // A move reaches the widget that took the drag, accepted as the enter was.
    QDragMoveEvent move(pt, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    move.setAccepted(enter.isAccepted());
    QApplication::sendEvent(pWidget, &move);
    QDropEvent drop(pt, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pWidget, &drop);
    return move.isAccepted();
}

} // namespace

TEST_F(TreeClipboardWindows, APasteShowsInEveryWindowOfTheDocument)
{
    CPellixDoc *pDoc = Open("doc.xml", "<r><b x=\"1\"><i/></b><c/></r>");
    CChildFrame *pFirst = FrameOf(pDoc);
    ASSERT_TRUE(Execute(ID_WINDOW_NEW));
    CChildFrame *pSecond = FrameOf(pDoc, 1);
    ASSERT_NE(pSecond, nullptr);

    Run(pFirst, "r/b", ID_EDIT_COPY);
    Run(pSecond, "r/c", ID_EDIT_PASTE);
    for (CChildFrame *pFrame : {pFirst, pSecond}) {
        EXPECT_EQ(ChildLabels(ItemAtPath(pFrame->GetTreePane(), "r/c")), QStringList{"b"});
        EXPECT_EQ(ChildLabels(ItemAtPath(pFrame->GetTreePane(), "r/c/b")), QStringList{"i"});
    }
    // A cut in one window pasted in the other moves the items of both.
    Run(pSecond, "r/b", ID_EDIT_CUT);
    Run(pFirst, "r/c/b", ID_EDIT_PASTE);
    for (CChildFrame *pFrame : {pFirst, pSecond}) {
        EXPECT_EQ(ChildLabels(ItemAtPath(pFrame->GetTreePane(), "r")), QStringList{"c"});
        EXPECT_EQ(ChildLabels(ItemAtPath(pFrame->GetTreePane(), "r/c/b")), (QStringList{"i", "b"}));
    }
    EXPECT_EQ(Saved(pDoc),
              "<r>\t<c>\t\t<b x=\"1\">\t\t\t<i></i>\r\n"
              "\t\t\t<b x=\"1\">\t\t\t\t<i></i>\r\n</b>\r\n</b>\r\n</c>\r\n</r>\r\n\r\n");
}

TEST_F(TreeClipboardWindows, SubtreesGoFromOneDocumentToAnother)
{
    CPellixDoc *pFrom = Open("from.xml", "<r><b x=\"1\">text<i/></b></r>");
    CPellixDoc *pTo = Open("to.xml", "<s/>");
    CChildFrame *pFromFrame = FrameOf(pFrom);
    CChildFrame *pToFrame = FrameOf(pTo);

    Run(pFromFrame, "r/b", ID_EDIT_COPY);
    Run(pToFrame, "s", ID_EDIT_PASTE);
    EXPECT_FALSE(pFrom->IsModified());
    EXPECT_TRUE(pTo->IsModified());
    const dom::Node copy = pTo->GetXMLDocument().documentElement().firstChild();
    EXPECT_EQ(copy.ownerDocument(), pTo->GetXMLDocument());

    // A cut leaves its document; the document element stays and a copy of it goes.
    Run(pFromFrame, "r/b", ID_EDIT_CUT);
    Run(pToFrame, "s/b", ID_EDIT_PASTE);
    EXPECT_TRUE(pFrom->IsModified());
    EXPECT_TRUE(ChildLabels(ItemAtPath(pFromFrame->GetTreePane(), "r")).isEmpty());
    Run(pFromFrame, "r", ID_EDIT_CUT);
    Run(pToFrame, "s", ID_EDIT_PASTE);
    EXPECT_EQ(ChildLabels(ItemAtPath(pFromFrame->GetTreePane(), "")), QStringList{"r"});
    EXPECT_EQ(ItemAtPath(pFromFrame->GetTreePane(), "r").GetImage(), CPellixTreeView::IMG_ELEMENT);

    EXPECT_EQ(Saved(pFrom), "<r></r>\r\n\r\n");
    EXPECT_EQ(Saved(pTo), "<s>\t<b x=\"1\">text<i></i><b x=\"1\">text<i></i></b></b>\r\n"
                          "\t<r></r>\r\n</s>\r\n\r\n");
}

TEST_F(TreeClipboardWindows, DragsOfOtherProgramsFindNoDropOnTheTree)
{
    CPellixDoc *pDoc = Open("doc.xml", "<r/>");
    const QString other = WriteFile("other.xml", "<o/>");
    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(other)});
    QMimeData text;
    text.setText(QStringLiteral("<x/>"));
    QWidget *pTree = FrameOf(pDoc)->GetTreePane()->viewport();

    EXPECT_FALSE(DragAndDrop(pTree, text));
    EXPECT_FALSE(DragAndDrop(pTree, file));
    EXPECT_EQ(Documents().size(), 1u);
    EXPECT_FALSE(pDoc->IsModified());
    // Beside the tree the main window still opens dropped files.
    EXPECT_TRUE(DragAndDrop(Main().GetMDIArea()->viewport(), file));
    EXPECT_EQ(Documents().size(), 2u);
}
