// Printing the grid pane: its print commands and the table it prints.
#include "PanesTestKit.h"

#include "CmdUI.h"
#include "Resource.h"

#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

using GridPanePrinting = PanesTest;

TEST_F(GridPanePrinting, ThePrintCommandsReachTheGridAndItPrintsItsRows)
{
    for (const int nID : {ID_FILE_PRINT, ID_FILE_PRINT_DIRECT, ID_FILE_PRINT_PREVIEW}) {
        CCmdUI cmdUI(nID);
        RouteUpdateState({m_pGrid}, cmdUI);
        EXPECT_TRUE(cmdUI.IsEnabled()) << nID;
    }
    Fill({{dom::NODE_ATTRIBUTE, "lang", "en"}, {dom::NODE_TEXT, "#text", "Mara Holt"}});
    QTemporaryDir dir;
    const QString strPdf = dir.filePath("grid.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(strPdf);
    CPrintInfo info;
    m_pGrid->PrintDocument(&printer, &info);
    EXPECT_EQ(info.m_nMaxPage, 1);
    ASSERT_GT(QFile(strPdf).size(), 0);

    const QString strTool = QStandardPaths::findExecutable("pdftotext");
    if (strTool.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    QProcess process;
    process.start(strTool, {"-layout", strPdf, "-"});
    process.waitForFinished(30000);
    const QString strText = QString::fromUtf8(process.readAllStandardOutput());
    for (const char *pszShown : {"Type", "Name", "Value", "Attribute", "lang", "en", "Text",
                                 "#text", "Mara Holt", "here's the data name"})
        EXPECT_TRUE(strText.contains(QString::fromUtf8(pszShown))) << pszShown;
}
