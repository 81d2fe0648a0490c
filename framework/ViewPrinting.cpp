// Printing, direct printing and print preview of a view.
#include "View.h"

#include "FrameworkIds.h"
#include "WinApp.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QWidget>
#include <algorithm>
#include <optional>

namespace
{
QPrinter *AppPrinter()
{
    CWinApp *pApp = AfxGetApp();
    return pApp != nullptr ? pApp->GetPrinter() : nullptr;
}
} // namespace

void CView::EnablePrintCommands()
{
    OnCommand(StdId::FilePrint, [this] { OnFilePrint(); });
    OnCommand(StdId::FilePrintDirect, [this] { OnFilePrintDirect(); });
    OnCommand(StdId::FilePrintPreview, [this] { OnFilePrintPreview(); });
}

std::optional<CPrintInfo> CView::PreparePrintJob(bool bDirect, bool bPreview)
{
    CPrintInfo info;
    info.m_pPrinter = AppPrinter();
    info.m_bDirect = bDirect;
    info.m_bPreview = bPreview;
    if (info.m_pPrinter == nullptr || !OnPreparePrinting(&info))
        return std::nullopt;
    return info;
}

void CView::OnFilePrint()
{
    std::optional<CPrintInfo> info = PreparePrintJob(false, false);
    if (!info)
        return;
    QPrintDialog dialog(info->m_pPrinter, m_pWidget);
    dialog.setMinMax(info->m_nMinPage, std::max(info->m_nMinPage, info->m_nMaxPage));
    if (dialog.exec() == QDialog::Accepted)
        PrintDocument(info->m_pPrinter, &*info);
}

void CView::OnFilePrintDirect()
{
    if (std::optional<CPrintInfo> info = PreparePrintJob(true, false))
        PrintDocument(info->m_pPrinter, &*info);
}

void CView::OnFilePrintPreview()
{
    std::optional<CPrintInfo> info = PreparePrintJob(false, true);
    if (!info)
        return;
    QPrintPreviewDialog dialog(info->m_pPrinter, m_pWidget);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [this, job = *info](QPrinter *pPreviewPrinter) mutable {
                         PrintDocument(pPreviewPrinter, &job);
                     });
    dialog.exec();
}

void CView::PrintDocument(QPrinter *pPrinter, CPrintInfo *pInfo)
{
    QPainter painter;
    if (!painter.begin(pPrinter))
        return;
    pInfo->m_pPrinter = pPrinter;
    pInfo->m_rectDraw = pPrinter->pageLayout().paintRectPixels(pPrinter->resolution());
    pInfo->m_rectDraw.moveTopLeft(QPoint(0, 0));
    pInfo->m_bContinuePrinting = true;
    OnBeginPrinting(&painter, pInfo);
    int nFirst = pInfo->m_nMinPage;
    int nLast = std::max(pInfo->m_nMinPage, pInfo->m_nMaxPage);
    if (pPrinter->fromPage() > 0) {
        nFirst = std::max(nFirst, pPrinter->fromPage());
        nLast = std::min(nLast, pPrinter->toPage());
    }
    for (int nPage = nFirst; nPage <= nLast && pInfo->m_bContinuePrinting; ++nPage) {
        if (nPage > nFirst)
            pPrinter->newPage();
        pInfo->m_nCurPage = nPage;
        OnPrint(&painter, pInfo);
    }
    OnEndPrinting(&painter, pInfo);
    painter.end();
}
