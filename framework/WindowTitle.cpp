#include "WindowTitle.h"

#include <QStyle>
#include <QWidget>

namespace
{
const QString kMark = QStringLiteral("[*]");
const QString kEscapedMark = QStringLiteral("[*][*]");
} // namespace

QString EscapeTitleMark(const QString &strText)
{
    QString strEscaped = strText;
    return strEscaped.replace(kMark, kEscapedMark);
}

QString ShownWindowTitle(const QWidget *pWindow)
{
    QString strTitle = pWindow->windowTitle();
    const bool bShowMark =
        pWindow->isWindowModified() &&
        pWindow->style()->styleHint(QStyle::SH_TitleBar_ModifyNotification, nullptr, pWindow);
    // As the window system is told: in a run of marks an odd one out is the mark, the pairs
    // are text.
    qsizetype nIndex = strTitle.indexOf(kMark);
    while (nIndex >= 0) {
        qsizetype nEnd = nIndex;
        int nCount = 0;
        while (strTitle.mid(nEnd, kMark.size()) == kMark) {
            nEnd += kMark.size();
            ++nCount;
        }
        if (nCount % 2 != 0) {
            nEnd -= kMark.size();
            strTitle.replace(nEnd, kMark.size(), bShowMark ? QStringLiteral("*") : QString());
            nEnd += bShowMark ? 1 : 0;
        }
        nIndex = strTitle.indexOf(kMark, nEnd);
    }
    return strTitle.replace(kEscapedMark, kMark);
}
