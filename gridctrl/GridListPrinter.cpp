#include "GridListPrinter.h"

#include "GridListModel.h"
#include "GridListView.h"
#include "GridRowPainter.h"

#include <QDate>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>

namespace
{
constexpr qreal kMillimetresPerInch = 25.4;
constexpr int kPrintPointSize = 9;

QFont PrintFont()
{
    QFont font(QStringLiteral("Sans Serif"), kPrintPointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}
} // namespace

CGridListPrinter::CGridListPrinter(CGridListView &list, GridPrintSettings &settings)
    : m_list(list), m_settings(settings)
{
}

int CGridListPrinter::Begin(QPainter *pPainter, const QRect &rectPage)
{
    m_settings.m_dwPrintFlags = GridPrintSettings::PRINT_COLORS | GridPrintSettings::PRINT_FONTS |
                                GridPrintSettings::PRINT_TITLE |
                                GridPrintSettings::PRINT_PAGENUMBER | GridPrintSettings::PRINT_DATE;
    m_settings.m_strPrintTitle = QStringLiteral("here's the data name");
    m_settings.m_rcPrintMargins = QMargins(15, 10, 10, 10);
    m_fonts = GridFontSet::From(PrintFont());
    QPaintDevice *pDevice = pPainter->device();
    const QFontMetrics metrics(m_fonts.normal, pDevice);
    m_nLineHeight = std::max(1, metrics.height());
    m_nHeadingHeight = std::max(1, QFontMetrics(m_fonts.bold, pDevice).height());
    m_nInset = metrics.horizontalAdvance(QLatin1Char('X'));
    m_nPenWidth = std::max(1, pDevice->logicalDpiX() / 144);
    const quint32 dwFooter = GridPrintSettings::PRINT_TITLE | GridPrintSettings::PRINT_PAGENUMBER |
                             GridPrintSettings::PRINT_DATE;
    const int nHeadings = (m_settings.m_dwPrintFlags & dwFooter) != 0 ? 2 : 1;
    const int nBody = DrawingRect(pPainter, rectPage).height() - nHeadings * m_nHeadingHeight;
    // At least one row goes on a page, however small it is.
    m_settings.m_nRowsPerPage = std::max(1, nBody / m_nLineHeight);
    return m_list.GetItemCount() / m_settings.m_nRowsPerPage + 1;
}

QRect CGridListPrinter::DrawingRect(const QPainter *pPainter, const QRect &rectPage) const
{
    const QPaintDevice *pDevice = pPainter->device();
    const auto toPixelsX = [pDevice](int nMillimetres) {
        return qRound(nMillimetres * pDevice->logicalDpiX() / kMillimetresPerInch);
    };
    const auto toPixelsY = [pDevice](int nMillimetres) {
        return qRound(nMillimetres * pDevice->logicalDpiY() / kMillimetresPerInch);
    };
    const QMargins &margins = m_settings.m_rcPrintMargins;
    return rectPage.adjusted(toPixelsX(margins.left()), toPixelsY(margins.top()),
                             -toPixelsX(margins.right()), -toPixelsY(margins.bottom()));
}

std::vector<int> CGridListPrinter::ColumnEdges(const QRect &rectDraw) const
{
    const int nColumns = m_list.GetColumnCount();
    long long nTotal = 0;
    for (int nPos = 0; nPos < nColumns; ++nPos)
        nTotal += m_list.GetColumnWidth(nPos);
    std::vector<int> edges{rectDraw.left()};
    if (nTotal <= 0)
        return edges;
    long long nSum = 0;
    for (int nPos = 0; nPos < nColumns; ++nPos) {
        nSum += m_list.GetColumnWidth(nPos);
        edges.push_back(rectDraw.left() + static_cast<int>(rectDraw.width() * nSum / nTotal));
    }
    return edges;
}

void CGridListPrinter::PrintPage(QPainter *pPainter, const QRect &rectPage, int nPage)
{
    const QRect rectDraw = DrawingRect(pPainter, rectPage);
    const std::vector<int> edges = ColumnEdges(rectDraw);
    const int nPerPage = std::max(1, m_settings.m_nRowsPerPage);
    const int nFirst = nPerPage * (nPage - 1);
    const int nEnd = std::min(nPerPage * nPage, m_list.GetItemCount());
    pPainter->save();
    int nTop = rectDraw.top();
    PrintHeader(pPainter, rectDraw, edges, nTop);
    nTop += m_nLineHeight;
    for (int nRow = std::max(0, nFirst); nRow < nEnd; ++nRow, nTop += m_nLineHeight)
        PrintRow(pPainter, edges, nRow, nTop);
    PrintFooter(pPainter, rectDraw, nPage, nTop);
    pPainter->restore();
}

void CGridListPrinter::PrintHeader(QPainter *pPainter, const QRect &rectDraw,
                                   const std::vector<int> &edges, int nTop) const
{
    pPainter->setFont(m_fonts.bold);
    pPainter->setPen(Qt::black);
    for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
        const int nPos = static_cast<int>(i);
        const QRect rectCell(edges[i], nTop, edges[i + 1] - edges[i], m_nLineHeight);
        DrawCellText(pPainter, rectCell, m_list.GetColumnCaption(nPos).left(255),
                     m_list.GetColumnFormat(nPos));
        DrawLine(pPainter, rectCell.right(), rectCell.top(), rectCell.right(), rectCell.bottom());
    }
    DrawLine(pPainter, rectDraw.left(), nTop - 1, rectDraw.right(), nTop - 1);
    DrawLine(pPainter, rectDraw.left(), nTop + m_nLineHeight - 1, rectDraw.right(),
             nTop + m_nLineHeight - 1);
}

void CGridListPrinter::PrintRow(QPainter *pPainter, const std::vector<int> &edges, int nRow,
                                int nTop)
{
    for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
        const int nPos = static_cast<int>(i);
        const QRect rectCell(edges[i], nTop, edges[i + 1] - edges[i], m_nLineHeight);
        pPainter->setFont(m_fonts.normal);
        pPainter->setPen(Qt::black);
        const QString strText = m_list.GetCellText(nRow, nPos);
        const bool bImage =
            m_list.HasOption(GLO_IMAGECOLUMNS) &&
            GridColumnMasks::Has(m_list.GetColumnMasks().dwImageCols, m_list.GetColumnId(nPos));
        if (bImage) {
            PrintImage(pPainter, strText, rectCell);
        } else {
            if (m_list.WantsCellFormat(nPos))
                ApplyCellFormat(pPainter, nRow, nPos);
            DrawCellText(pPainter, rectCell, strText, m_list.GetColumnFormat(nPos));
        }
        DrawLine(pPainter, rectCell.right(), rectCell.top(), rectCell.right(), rectCell.bottom());
    }
    const int nBottom = nTop + m_nLineHeight - 1;
    DrawLine(pPainter, edges.front(), nBottom, edges.back(), nBottom);
}

void CGridListPrinter::ApplyCellFormat(QPainter *pPainter, int nRow, int nPos)
{
    GridCellFormat request;
    if (!m_list.QueryCellFormat(nRow, nPos, request))
        return;
    const quint32 dwFlags = request.dwFlags;
    if ((m_settings.m_dwPrintFlags & GridPrintSettings::PRINT_FONTS) != 0) {
        if ((dwFlags & GRIDF_FONT) != 0) {
            // A screen font prints at eight tenths of its pixel height, in points.
            QFont font = request.font;
            font.setPointSizeF(std::max(1.0, QFontInfo(request.font).pixelSize() * 0.8));
            pPainter->setFont(font);
        } else {
            pPainter->setFont(m_fonts.Pick(dwFlags));
        }
    }
    if ((m_settings.m_dwPrintFlags & GridPrintSettings::PRINT_COLORS) != 0 &&
        (dwFlags & GRIDF_TEXTCOLOR) != 0)
        pPainter->setPen(request.crText);
}

void CGridListPrinter::PrintImage(QPainter *pPainter, const QString &strText,
                                  const QRect &rectCell) const
{
    const QList<QPixmap> &images = m_list.GetCellImageList();
    bool bOk = false;
    const int nImage = strText.toInt(&bOk);
    if (!bOk || nImage < 0 || nImage >= images.size() || images[nImage].isNull())
        return;
    const QPixmap &image = images[nImage];
    const int nFactor =
        std::max(1, std::min(rectCell.width() / image.width(), rectCell.height() / image.height()));
    QRect rectImage(0, rectCell.top() + 1, image.width() * nFactor, image.height() * nFactor);
    rectImage.moveLeft(rectCell.left() + (rectCell.width() - rectImage.width()) / 2);
    pPainter->fillRect(rectImage, Qt::white);
    pPainter->drawPixmap(rectImage, image);
}

void CGridListPrinter::PrintFooter(QPainter *pPainter, const QRect &rectDraw, int nPage,
                                   int nTop) const
{
    const QRect rectFooter(rectDraw.left(), nTop, rectDraw.width(), m_nLineHeight);
    const quint32 dwFlags = m_settings.m_dwPrintFlags;
    pPainter->setFont(m_fonts.normal);
    pPainter->setPen(Qt::black);
    if ((dwFlags & GridPrintSettings::PRINT_TITLE) != 0 && !m_settings.m_strPrintTitle.isEmpty())
        DrawCellText(pPainter, rectFooter, m_settings.m_strPrintTitle, LVCFMT_LEFT);
    if ((dwFlags & GridPrintSettings::PRINT_PAGENUMBER) != 0)
        DrawCellText(pPainter, rectFooter, QString::number(nPage), LVCFMT_CENTER);
    if ((dwFlags & GridPrintSettings::PRINT_DATE) != 0) {
        // The date's layout is fixed: day, month, four-digit year.
        const QDate today = QDate::currentDate();
        const QString strDate =
            QString::asprintf("%02d/%02d/%d", today.day(), today.month(), today.year());
        DrawCellText(pPainter, rectFooter, strDate, LVCFMT_RIGHT);
    }
}

void CGridListPrinter::DrawCellText(QPainter *pPainter, const QRect &rectCell,
                                    const QString &strText, int nFormat) const
{
    const QRect rectText = rectCell.adjusted(m_nInset, 0, -m_nInset, 0);
    if (rectText.width() <= 0)
        return;
    pPainter->drawText(
        rectText, CGridListModel::AlignmentOf(nFormat) | Qt::TextSingleLine,
        CGridRowPainter::FittedText(strText, pPainter->fontMetrics(), rectText.width(), true));
}

void CGridListPrinter::DrawLine(QPainter *pPainter, int x1, int y1, int x2, int y2) const
{
    pPainter->save();
    pPainter->setPen(QPen(Qt::black, m_nPenWidth));
    pPainter->drawLine(x1, y1, x2, y2);
    pPainter->restore();
}
