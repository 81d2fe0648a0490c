#pragma once

#include <QMargins>
#include <QString>
#include <QtGlobal>

// How a grid list prints: margins in millimetres, what the footer holds, and the rows that fit
// a page (set when printing begins).
struct GridPrintSettings {
    // Print flags: format colours, format fonts, the title, the page number, the date.
    static constexpr quint32 PRINT_COLORS = 0x01;
    static constexpr quint32 PRINT_FONTS = 0x02;
    static constexpr quint32 PRINT_TITLE = 0x04;
    static constexpr quint32 PRINT_PAGENUMBER = 0x08;
    static constexpr quint32 PRINT_DATE = 0x10;

    QMargins m_rcPrintMargins;
    quint32 m_dwPrintFlags = 0;
    QString m_strPrintTitle = QStringLiteral("Grid list Control");
    int m_nRowsPerPage = 0;
};
