#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class CGridListView;
class QFontMetrics;
class QPainter;

// Draws the rows of a grid list: the row's background (a selected row in a light tint of the
// highlight, so that coloured cell texts stay readable), each cell's text in the owner's format,
// the cell cursor, the grid lines and the focus frame. Only cells inside the clip rectangle are
// drawn, and no more of a text is laid out than its cell can show.
class CGridRowPainter
{
public:
    CGridRowPainter(CGridListView &list, QPainter &painter);

    // Draws row nRow into rectBounds (the whole row, in the painter's coordinates).
    void DrawRow(int nRow, const QRect &rectBounds, const QRect &rectClip);
    // The "Empty List" text of a list without rows.
    void DrawEmptyList(const QRect &rectClient);

    // The background of a selected row: the highlight blended into the base colour.
    static QColor SelectionColor(const QPalette &palette);
    // The part of strText that a single line nWidth pixels wide shows: cut, or cut with an
    // ellipsis. A long text is shortened before it is measured, never laid out whole.
    static QString FittedText(const QString &strText, const QFontMetrics &metrics, int nWidth,
                              bool bEllipsis);

private:
    struct Cell {
        int nPos;
        QRect rect;
        bool bCursor;
    };
    void DrawFirstCell(const Cell &cell);
    void DrawOtherCell(const Cell &cell);
    void DrawImage(const QString &strText, const QRect &rectText, bool bCentred);
    // Sets the owner's font and colour for the cell; true when it gave a colour.
    bool ApplyCellFormat(int nPos);
    void DrawVerticalLine(const QRect &rectCell);
    void DrawRowSeparator(const QRect &rectBounds);
    bool IsImageColumn(int nPos) const;

    CGridListView &m_list;
    QPainter &m_painter;
    int m_nRow = -1;
    QRect m_rectClip;
    quintptr m_nDatum = 0;
    bool m_bSelected = false;
    bool m_bFocused = false;
    QColor m_crRowText;
    QColor m_crCellBack;
};
