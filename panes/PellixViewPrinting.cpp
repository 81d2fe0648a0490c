// Printing the text pane: its plain text in pages under a header line with the document's title.
#include "PellixView.h"

#include "DocumentBase.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <algorithm>

namespace
{
QRect PageRect(const CPrintInfo *pInfo)
{
    if (!pInfo->m_rectDraw.isEmpty())
        return pInfo->m_rectDraw;
    QPrinter *pPrinter = pInfo->m_pPrinter;
    QRect rect = pPrinter->pageLayout().paintRectPixels(pPrinter->resolution());
    rect.moveTopLeft(QPoint(0, 0));
    return rect;
}
} // namespace

int CPellixView::LayOutPages(CPrintInfo *pInfo)
{
    const QRect rectPage = PageRect(pInfo);
    m_pPrintText = std::make_unique<QTextDocument>();
    m_pPrintText->setDefaultFont(font());
    m_pPrintText->documentLayout()->setPaintDevice(pInfo->m_pPrinter);
    // Wrapped as the pane wraps it, which keeps a long word from costing its square here too.
    QTextOption option = m_pPrintText->defaultTextOption();
    option.setWrapMode(wordWrapMode());
    m_pPrintText->setDefaultTextOption(option);
    m_pPrintText->setPlainText(toPlainText());
    // The header line takes one line of the body font and as much space again below it.
    m_nPrintHeaderHeight = 2 * QFontMetrics(font(), pInfo->m_pPrinter).lineSpacing();
    const int nBodyHeight = std::max(1, rectPage.height() - m_nPrintHeaderHeight);
    m_pPrintText->setPageSize(QSizeF(rectPage.width(), nBodyHeight));
    return std::max(1, m_pPrintText->pageCount());
}

bool CPellixView::OnPreparePrinting(CPrintInfo *pInfo)
{
    pInfo->m_nMaxPage = LayOutPages(pInfo);
    m_pPrintText.reset();
    return true;
}

void CPellixView::OnBeginPrinting(QPainter *, CPrintInfo *pInfo)
{
    pInfo->m_nMaxPage = LayOutPages(pInfo);
}

void CPellixView::OnPrint(QPainter *pPainter, CPrintInfo *pInfo)
{
    if (m_pPrintText == nullptr)
        return;
    const QRect rectPage = PageRect(pInfo);
    const CDocument *pDoc = GetDocument();
    pPainter->save();
    pPainter->setFont(QFont(font(), pInfo->m_pPrinter));
    pPainter->drawText(
        QRect(rectPage.left(), rectPage.top(), rectPage.width(), m_nPrintHeaderHeight / 2),
        Qt::AlignLeft | Qt::AlignVCenter, pDoc != nullptr ? pDoc->GetTitle() : QString());
    const qreal dBodyHeight = m_pPrintText->pageSize().height();
    const qreal dTop = dBodyHeight * (pInfo->m_nCurPage - 1);
    pPainter->translate(rectPage.left(), rectPage.top() + m_nPrintHeaderHeight - dTop);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(0, dTop, rectPage.width(), dBodyHeight);
    context.palette.setColor(QPalette::Text, Qt::black);
    pPainter->setClipRect(context.clip);
    m_pPrintText->documentLayout()->draw(pPainter, context);
    pPainter->restore();
}

void CPellixView::OnEndPrinting(QPainter *, CPrintInfo *)
{
    m_pPrintText.reset();
}
