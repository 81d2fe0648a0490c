// Printing the list as a ruled table into PDF files.
#include "GridTestKit.h"

#include <QDate>
#include <QFile>
#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace
{
constexpr qreal kMillimetresPerInch = 25.4;

class GridPrinting : public GridTest
{
protected:
    // Prints the list on pages of the given height; returns the page count.
    int Print(qreal dPageHeightMm)
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_strPdf);
        printer.setPageLayout(
            QPageLayout(QPageSize(QSizeF(180, dPageHeightMm), QPageSize::Millimeter),
                        QPageLayout::Portrait, QMarginsF()));
        QPainter painter;
        if (!painter.begin(&printer)) {
            ADD_FAILURE() << "no PDF printer";
            return 0;
        }
        QRect rectPage = printer.pageLayout().paintRectPixels(printer.resolution());
        rectPage.moveTopLeft(QPoint(0, 0));
        const int nPages = m_pList->OnBeginPrinting(&painter, rectPage);
        for (int nPage = 1; nPage <= nPages; ++nPage) {
            if (nPage > 1)
                printer.newPage();
            m_pList->OnPrint(&painter, rectPage, nPage);
        }
        m_pList->OnEndPrinting();
        painter.end();
        return nPages;
    }

    // A page height that holds exactly nRows rows under the header, with the footer row.
    static qreal PageHeightFor(int nRows)
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        QFont font(QStringLiteral("Sans Serif"), 9);
        font.setStyleHint(QFont::SansSerif);
        const int nLine = QFontMetrics(font, &printer).height();
        font.setBold(true);
        const int nHeading = QFontMetrics(font, &printer).height();
        const int nPixels = 2 * nHeading + nRows * nLine + nLine / 2;
        return nPixels * kMillimetresPerInch / printer.resolution() + 20;
    }

    // The text of page nPage of the PDF, or nothing without pdftotext.
    std::optional<QString> PageText(int nPage) const
    {
        const QString strTool = QStandardPaths::findExecutable("pdftotext");
        if (strTool.isEmpty())
            return std::nullopt;
        QProcess process;
        process.start(strTool, {"-layout", "-f", QString::number(nPage), "-l",
                                QString::number(nPage), m_strPdf, "-"});
        process.waitForFinished(30000);
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    QTemporaryDir m_dir;
    const QString m_strPdf = m_dir.filePath("grid.pdf");
};

std::vector<QStringList> Rows(int nCount)
{
    std::vector<QStringList> rows;
    for (int i = 0; i < nCount; ++i)
        rows.push_back({"One", QStringLiteral("name%1").arg(i), QStringLiteral("value%1").arg(i)});
    return rows;
}
} // namespace

TEST_F(GridPrinting, TenRowsAtTenAPageMakeTwoPagesTheSecondWithHeaderAndFooterOnly)
{
    m_pList->Fill(Rows(10));
    EXPECT_EQ(m_pList->GetPrintSettings().m_strPrintTitle, "Grid list Control");
    EXPECT_EQ(Print(PageHeightFor(10)), 2);
    EXPECT_EQ(m_pList->GetPrintSettings().m_nRowsPerPage, 10);
    EXPECT_EQ(m_pList->GetPrintSettings().m_dwPrintFlags, 0x1FU);
    EXPECT_EQ(m_pList->GetPrintSettings().m_rcPrintMargins, QMargins(15, 10, 10, 10));
    EXPECT_GT(QFile(m_strPdf).size(), 0);

    const std::optional<QString> first = PageText(1);
    if (!first)
        GTEST_SKIP() << "pdftotext is not installed";
    const QDate today = QDate::currentDate();
    const QString strDate =
        QString::asprintf("%02d/%02d/%d", today.day(), today.month(), today.year());
    EXPECT_TRUE(first->contains("Kind")) << first->toStdString();
    EXPECT_TRUE(first->contains("value0"));
    EXPECT_TRUE(first->contains("value9"));
    EXPECT_TRUE(first->contains("here's the data name"));
    EXPECT_TRUE(first->contains(strDate));
    const QString second = *PageText(2);
    EXPECT_TRUE(second.contains("Value")) << second.toStdString();
    EXPECT_FALSE(second.contains("value"));
    EXPECT_TRUE(second.contains("here's the data name"));
    EXPECT_TRUE(second.contains(strDate));
    EXPECT_TRUE(second.contains(QRegularExpression("\\b2\\b")));
}

TEST_F(GridPrinting, AnEmptyListNoColumnsAndATinyPageStillPrint)
{
    EXPECT_EQ(Print(PageHeightFor(3)), 1);
    m_pList->Fill(Rows(12));
    EXPECT_EQ(Print(PageHeightFor(5)), 3);
    // A page too small for one row still holds one.
    EXPECT_EQ(Print(21), 13);
    EXPECT_EQ(m_pList->GetPrintSettings().m_nRowsPerPage, 1);
    // Columns of no width at all: their widths scale by their sum, which is 0.
    m_pList->SetColumns({{0, "Kind", 0, 0}, {1, "Name", 0, 0}});
    EXPECT_EQ(m_pList->GetColumnWidth(1), 0);
    EXPECT_EQ(Print(PageHeightFor(20)), 1);
    m_pList->CreateColumnDefinitions();
    m_pList->ApplyColumnDefinitions();
    EXPECT_EQ(m_pList->GetColumnCount(), 0);
    EXPECT_EQ(Print(PageHeightFor(20)), 1);
}
