#pragma once

#include <QRect>

class QPrinter;

// The state of one print job, handed to a view's printing hooks.
struct CPrintInfo {
    QPrinter *m_pPrinter = nullptr;
    // The pages the document has; a view sets them in OnPreparePrinting or OnBeginPrinting.
    int m_nMinPage = 1;
    int m_nMaxPage = 1;
    // The page being printed.
    int m_nCurPage = 1;
    // The printable area of the page, in the printer's device pixels.
    QRect m_rectDraw;
    bool m_bPreview = false;
    bool m_bDirect = false;
    // A view clears it in OnPrint to end the job after the current page.
    bool m_bContinuePrinting = true;
};
