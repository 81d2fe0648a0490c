// Printing the text pane's text into a PDF file.
#include "PanesTestKit.h"

#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>

class TextPrinting : public PanesTest
{
protected:
    // Prints `nLines` lines from the pane into a PDF file; returns the job's page count.
    int PrintLines(int nLines)
    {
        QStringList lines;
        for (int i = 0; i < nLines; ++i)
            lines << QStringLiteral("line %1 of the pane").arg(i);
        m_pText->SetText(lines.join('\n'));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_strPdf);
        CPrintInfo info;
        m_pText->PrintDocument(&printer, &info);
        EXPECT_GT(QFile(m_strPdf).size(), 0);
        return info.m_nMaxPage;
    }

    QTemporaryDir m_dir;
    const QString m_strPdf = m_dir.filePath("text.pdf");
};

TEST_F(TextPrinting, LongTextsTakeMorePagesAndAnEmptyPaneOne)
{
    EXPECT_EQ(PrintLines(0), 1);
    EXPECT_EQ(PrintLines(5), 1);
    const int nPages = PrintLines(400);
    EXPECT_GT(nPages, 1);
    const int nDoublePages = PrintLines(800);
    EXPECT_GE(nDoublePages, 2 * nPages - 1);
    EXPECT_LE(nDoublePages, 2 * nPages + 1);
}
