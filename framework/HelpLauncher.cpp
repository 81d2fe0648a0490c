#include "HelpLauncher.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QWidget>

namespace
{
constexpr int kHelpWidth = 640;
constexpr int kHelpHeight = 480;

QPointer<QWidget> &HelpWindow()
{
    static QPointer<QWidget> pWindow;
    return pWindow;
}

QTextBrowser *EnsureHelpBrowser(QWidget *pOwner)
{
    QPointer<QWidget> &pWindow = HelpWindow();
    if (pWindow.isNull()) {
        QWidget *pParent = pOwner != nullptr ? pOwner->window() : nullptr;
        pWindow = new QWidget(pParent, Qt::Window);
        pWindow->setAttribute(Qt::WA_DeleteOnClose, false);
        pWindow->setWindowTitle(QObject::tr("Pellix Help"));
        auto *pLayout = new QVBoxLayout(pWindow);
        pLayout->setContentsMargins(0, 0, 0, 0);
        auto *pBrowser = new QTextBrowser(pWindow);
        pBrowser->setOpenExternalLinks(true);
        pLayout->addWidget(pBrowser);
        pWindow->resize(kHelpWidth, kHelpHeight);
    }
    return pWindow->findChild<QTextBrowser *>();
}
} // namespace

bool ShowHelp(QWidget *pOwner, const QString &strHelpFile, int nCommand, int nData)
{
    const QFileInfo info(strHelpFile);
    if (strHelpFile.isEmpty() || !info.isFile() || !info.isReadable())
        return false;
    QTextBrowser *pBrowser = EnsureHelpBrowser(pOwner);
    QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    if (nCommand == HH_HELP_CONTEXT && nData != 0)
        url.setFragment(QStringLiteral("context-%1").arg(nData));
    pBrowser->setSource(url);
    QWidget *pWindow = HelpWindow();
    pWindow->show();
    pWindow->raise();
    pWindow->activateWindow();
    return true;
}

QString HelpFilePath()
{
    const QString strDir = QCoreApplication::applicationDirPath();
    const QString strName = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() +
                            QStringLiteral(".html");
    const QString strBeside = QDir(strDir).filePath(strName);
    if (QFileInfo::exists(strBeside))
        return strBeside;
    const QString strShared =
        QDir::cleanPath(QDir(strDir).filePath(QStringLiteral("../share/pellix/help/") + strName));
    return QFileInfo::exists(strShared) ? strShared : strBeside;
}
