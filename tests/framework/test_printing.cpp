#include "FrameworkTestKit.h"

#include "CommandRouter.h"
#include "FrameworkIds.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>

namespace
{
// A pane of three pages that records what the print job asked of it.
class CPrintingView : public QWidget, public CView
{
public:
    explicit CPrintingView(CDocument *pDoc) : CView(this, pDoc) { EnablePrintCommands(); }

    QStringList calls;
    std::vector<int> pages;
    int nStopAfter = 0;
    QRect rectDraw;

protected:
    void OnBeginPrinting(QPainter *, CPrintInfo *pInfo) override
    {
        calls << "begin";
        pInfo->m_nMaxPage = 3;
        rectDraw = pInfo->m_rectDraw;
    }
    void OnPrint(QPainter *pPainter, CPrintInfo *pInfo) override
    {
        pages.push_back(pInfo->m_nCurPage);
        pPainter->drawText(pInfo->m_rectDraw, QString::number(pInfo->m_nCurPage));
        if (pInfo->m_nCurPage == nStopAfter)
            pInfo->m_bContinuePrinting = false;
    }
    void OnEndPrinting(QPainter *, CPrintInfo *) override { calls << "end"; }
};

int PdfPageCount(const QString &strPath)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return static_cast<int>(QString::fromLatin1(file.readAll())
                                .count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}
} // namespace

class Printing : public FrameworkTest
{
protected:
    Printing()
    {
        QPrinter *pPrinter = App().GetPrinter();
        pPrinter->setOutputFormat(QPrinter::PdfFormat);
        pPrinter->setOutputFileName(m_dir.filePath("out.pdf"));
    }
    CTestDoc doc;
    CPrintingView view{&doc};
};

TEST_F(Printing, DirectPrintRunsEveryPageBetweenBeginAndEnd)
{
    view.OnFilePrintDirect();
    EXPECT_EQ(view.calls, QStringList({"begin", "end"}));
    EXPECT_EQ(view.pages, (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(view.rectDraw.isEmpty());
    EXPECT_EQ(view.rectDraw.topLeft(), QPoint(0, 0));
    EXPECT_EQ(PdfPageCount(m_dir.filePath("out.pdf")), 3);
}

TEST_F(Printing, PrinterPageRangeAndStopRequestLimitThePages)
{
    App().GetPrinter()->setFromTo(2, 9);
    view.OnFilePrintDirect();
    EXPECT_EQ(view.pages, (std::vector<int>{2, 3}));

    App().GetPrinter()->setFromTo(0, 0);
    view.pages.clear();
    view.nStopAfter = 1;
    view.OnFilePrintDirect();
    EXPECT_EQ(view.pages, (std::vector<int>{1}));
    EXPECT_EQ(PdfPageCount(m_dir.filePath("out.pdf")), 1);
}

TEST_F(Printing, PrintCommandsReachOnlyPanesThatPrint)
{
    CTestView plain(&doc, nullptr);
    EXPECT_FALSE(RouteCommand({&plain, &doc}, StdId::FilePrintDirect));
    EXPECT_TRUE(RouteCommand({&view, &doc}, StdId::FilePrintDirect));
    EXPECT_EQ(view.pages.size(), 3u);
}
