#pragma once

#include "GridFontSet.h"
#include "GridPrintSettings.h"

#include <QRect>
#include <vector>

class CGridListView;
class QPainter;

// Prints a grid list as a ruled table: a bold header row, the rows in columns scaled to the
// page width, lines after every cell and row, and a footer with the title, the page number
// and the date. One printer lives for one print job.
class CGridListPrinter
{
public:
    CGridListPrinter(CGridListView &list, GridPrintSettings &settings);

    // Sets the print settings and fonts for the painter's device; returns the page count.
    int Begin(QPainter *pPainter, const QRect &rectPage);
    void PrintPage(QPainter *pPainter, const QRect &rectPage, int nPage);

private:
    // The page less the margins, in device pixels.
    QRect DrawingRect(const QPainter *pPainter, const QRect &rectPage) const;
    // The x of every column's left edge and, last, the right edge of the last one: the
    // columns' screen widths scaled to the page width.
    std::vector<int> ColumnEdges(const QRect &rectDraw) const;
    void PrintHeader(QPainter *pPainter, const QRect &rectDraw, const std::vector<int> &edges,
                     int nTop) const;
    void PrintRow(QPainter *pPainter, const std::vector<int> &edges, int nRow, int nTop);
    // Sets the owner's font and colour for a printed cell, as the print flags allow.
    void ApplyCellFormat(QPainter *pPainter, int nRow, int nPos);
    void PrintImage(QPainter *pPainter, const QString &strText, const QRect &rectCell) const;
    void PrintFooter(QPainter *pPainter, const QRect &rectDraw, int nPage, int nTop) const;
    void DrawCellText(QPainter *pPainter, const QRect &rectCell, const QString &strText,
                      int nFormat) const;
    void DrawLine(QPainter *pPainter, int x1, int y1, int x2, int y2) const;

    CGridListView &m_list;
    GridPrintSettings &m_settings;
    GridFontSet m_fonts;
    int m_nLineHeight = 1;
    int m_nHeadingHeight = 1;
    int m_nInset = 0;
    int m_nPenWidth = 1;
};
