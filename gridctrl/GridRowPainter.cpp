#include "GridRowPainter.h"

#include "GridListModel.h"
#include "GridListView.h"

#include <QApplication>
#include <QPainter>

namespace
{
// The grid lines' colour.
const QColor kGridColor(192, 192, 192);
// How much of the highlight a selected row's background takes.
constexpr qreal kSelectionTint = 0.3;
// Column 0 draws its text this far in, the other columns kOtherInset.
constexpr int kFirstInset = 2;
constexpr int kOtherInset = 6;

bool ListHasFocus(const CGridListView &list)
{
    const QWidget *pFocus = QApplication::focusWidget();
    return pFocus != nullptr && (pFocus == &list || list.isAncestorOf(pFocus));
}
} // namespace

CGridRowPainter::CGridRowPainter(CGridListView &list, QPainter &painter)
    : m_list(list), m_painter(painter)
{
}

QColor CGridRowPainter::SelectionColor(const QPalette &palette)
{
    const QColor base = palette.color(QPalette::Base);
    const QColor highlight = palette.color(QPalette::Highlight);
    const auto mix = [](int nBase, int nHighlight) {
        return qRound(nBase * (1 - kSelectionTint) + nHighlight * kSelectionTint);
    };
    return QColor(mix(base.red(), highlight.red()), mix(base.green(), highlight.green()),
                  mix(base.blue(), highlight.blue()));
}

QString CGridRowPainter::FittedText(const QString &strText, const QFontMetrics &metrics, int nWidth,
                                    bool bEllipsis)
{
    if (nWidth <= 0)
        return QString();
    // No character is narrower than a pixel worth speaking of, so this many show at most.
    const qsizetype nMaxChars = static_cast<qsizetype>(nWidth) + 8;
    const bool bCut = strText.size() > nMaxChars;
    const QString strShown = bCut ? strText.left(nMaxChars) : strText;
    if (!bEllipsis)
        return strShown;
    const QString strElided = metrics.elidedText(strShown, Qt::ElideRight, nWidth);
    if (!bCut || strElided != strShown)
        return strElided;
    const QString strEllipsis(QChar(0x2026));
    return metrics.elidedText(strShown, Qt::ElideRight,
                              nWidth - metrics.horizontalAdvance(strEllipsis)) +
           strEllipsis;
}

void CGridRowPainter::DrawRow(int nRow, const QRect &rectBounds, const QRect &rectClip)
{
    const QPalette &palette = m_list.palette();
    m_nRow = nRow;
    m_rectClip = rectClip;
    m_nDatum = m_list.GetItemData(nRow);
    m_bSelected = ListHasFocus(m_list) && m_list.IsRowSelected(nRow);
    m_bFocused = m_list.GetFocusedRow() == nRow;
    // On the light selection tint the row keeps the normal text colour.
    m_crRowText = palette.color(m_bSelected ? QPalette::Text : QPalette::ButtonText);
    m_crCellBack = palette.color(QPalette::Base);
    m_painter.fillRect(rectBounds, m_bSelected ? SelectionColor(palette) : m_crCellBack);
    m_painter.setFont(m_list.GetScreenFont(0));
    const bool bCursorRow = m_list.HasOption(GLO_CELLCURSOR) && m_bFocused;
    int nLeft = rectBounds.left();
    for (int nPos = 0; nPos < m_list.GetColumnCount(); ++nPos) {
        const QRect rectCell(nLeft, rectBounds.top(), m_list.GetColumnWidth(nPos),
                             rectBounds.height());
        nLeft += rectCell.width();
        const Cell cell{nPos, rectCell, bCursorRow && m_list.GetFocusCol() == nPos};
        if (nPos == 0) {
            DrawFirstCell(cell);
            continue;
        }
        if (rectCell.left() > rectClip.right())
            break;
        if (rectCell.right() >= rectClip.left())
            DrawOtherCell(cell);
    }
    DrawRowSeparator(rectBounds);
    if (m_bFocused) {
        m_painter.setPen(QPen(palette.color(QPalette::WindowText), 1, Qt::DotLine));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRect(rectBounds.adjusted(0, 0, -1, -2));
    }
}

void CGridRowPainter::DrawFirstCell(const Cell &cell)
{
    const QRect rectText = cell.rect.adjusted(kFirstInset, 0, -kFirstInset, 0);
    m_painter.setFont(m_list.GetScreenFont(0));
    m_painter.setPen(m_crRowText);
    const bool bFormatColor = m_list.WantsCellFormat(0) && ApplyCellFormat(0);
    if (cell.bCursor) {
        if (!bFormatColor)
            m_painter.setPen(m_list.palette().color(QPalette::ButtonText));
        if (rectText.width() > 4)
            m_painter.fillRect(rectText, m_crCellBack);
    }
    if (cell.rect.right() >= m_rectClip.left() && cell.rect.left() <= m_rectClip.right()) {
        const QString strText = m_list.GetCellText(m_nRow, 0);
        if (IsImageColumn(0)) {
            DrawImage(strText, rectText, false);
        } else {
            // The first column's text is cut at its cell, without an ellipsis.
            m_painter.save();
            m_painter.setClipRect(rectText, Qt::IntersectClip);
            m_painter.drawText(
                rectText,
                CGridListModel::AlignmentOf(m_list.GetColumnFormat(0)) | Qt::TextSingleLine,
                FittedText(strText, m_painter.fontMetrics(), rectText.width(), false));
            m_painter.restore();
        }
    }
    m_painter.setPen(m_crRowText);
    if (m_list.HasOption(GLO_VGRIDLINES))
        DrawVerticalLine(rectText);
}

void CGridRowPainter::DrawOtherCell(const Cell &cell)
{
    const QString strText = m_list.GetCellText(m_nRow, cell.nPos);
    if (strText.isEmpty()) {
        if (cell.bCursor)
            m_painter.fillRect(cell.rect.adjusted(-1, 0, 0, 0), m_crCellBack);
    } else {
        const QRect rectText = cell.rect.adjusted(kOtherInset, 0, -kOtherInset, 0);
        m_painter.setPen(cell.bCursor ? m_list.palette().color(QPalette::ButtonText) : m_crRowText);
        if (m_list.WantsCellFormat(cell.nPos))
            ApplyCellFormat(cell.nPos);
        if (cell.bCursor)
            m_painter.fillRect(cell.rect.adjusted(-1, 0, 0, 0), m_crCellBack);
        if (IsImageColumn(cell.nPos)) {
            DrawImage(strText, rectText, true);
        } else {
            m_painter.drawText(
                rectText,
                CGridListModel::AlignmentOf(m_list.GetColumnFormat(cell.nPos)) | Qt::TextSingleLine,
                FittedText(strText, m_painter.fontMetrics(), rectText.width(), true));
        }
        m_painter.setPen(m_crRowText);
    }
    if (m_list.HasOption(GLO_VGRIDLINES))
        DrawVerticalLine(cell.rect);
}

bool CGridRowPainter::IsImageColumn(int nPos) const
{
    return m_list.HasOption(GLO_IMAGECOLUMNS) &&
           GridColumnMasks::Has(m_list.GetColumnMasks().dwImageCols, m_list.GetColumnId(nPos));
}

void CGridRowPainter::DrawImage(const QString &strText, const QRect &rectText, bool bCentred)
{
    const QList<QPixmap> &images = m_list.GetCellImageList();
    bool bOk = false;
    const int nImage = strText.toInt(&bOk);
    if (!bOk || nImage < 0 || nImage >= images.size() || rectText.width() < 2)
        return;
    const QPixmap &image = images[nImage];
    const QSize size(bCentred ? image.width() : 16, rectText.height() - 1);
    QRect rectImage(rectText.topLeft(), size);
    if (bCentred)
        rectImage.moveCenter(rectText.center());
    m_painter.drawPixmap(rectImage, image);
}

bool CGridRowPainter::ApplyCellFormat(int nPos)
{
    GridCellFormat request;
    if (!m_list.QueryCellFormat(m_nRow, nPos, request))
        return false;
    m_painter.setFont((request.dwFlags & GRIDF_FONT) != 0 ? request.font
                                                          : m_list.GetScreenFont(request.dwFlags));
    if ((request.dwFlags & GRIDF_TEXTCOLOR) == 0)
        return false;
    m_painter.setPen(request.crText);
    return true;
}

void CGridRowPainter::DrawVerticalLine(const QRect &rectCell)
{
    m_painter.save();
    m_painter.setPen(kGridColor);
    m_painter.drawLine(rectCell.right(), rectCell.top(), rectCell.right(), rectCell.bottom());
    m_painter.restore();
}

void CGridRowPainter::DrawRowSeparator(const QRect &rectBounds)
{
    if (m_list.HasOption(GLO_ROWEXTRA)) {
        GridCellFormat request;
        request.nCode = GRIDQ_ROWEXTRA;
        request.nRow = m_nRow;
        request.nDatum = m_nDatum;
        request.pPainter = &m_painter;
        request.rect = rectBounds;
        if (m_list.QueryOwner(request))
            return;
    }
    if (!m_list.HasOption(GLO_HGRIDLINES))
        return;
    m_painter.save();
    m_painter.setPen(kGridColor);
    m_painter.drawLine(rectBounds.left(), rectBounds.bottom(), rectBounds.right() - 1,
                       rectBounds.bottom());
    m_painter.restore();
}

void CGridRowPainter::DrawEmptyList(const QRect &rectClient)
{
    // Under the header: two pixels down, reaching past the bottom as the text area did.
    const QRect rectText = rectClient.adjusted(0, 2, 0, 20);
    m_painter.fillRect(rectText, m_list.palette().color(QPalette::Base));
    m_painter.setFont(m_list.GetScreenFont(0));
    m_painter.setPen(m_list.palette().color(QPalette::Disabled, QPalette::Text));
    m_painter.drawText(rectText, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine,
                       QStringLiteral("Empty List"));
}
