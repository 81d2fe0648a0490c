#include "FileDialog.h"

#include <QApplication>
#include <QFileDialog>

namespace
{
FileDialogHandler &installedHandler()
{
    static FileDialogHandler handler;
    return handler;
}
} // namespace

QString AfxPromptFileName(FileDialogMode eMode, const QString &strInitial, const QString &strFilter,
                          const QString &strDefaultExt)
{
    if (const FileDialogHandler &handler = installedHandler())
        return handler(eMode, strInitial, strFilter);
    if (qobject_cast<QApplication *>(QCoreApplication::instance()) == nullptr)
        return {};
    const bool bOpen = eMode == FileDialogMode::Open;
    QFileDialog dialog(QApplication::activeWindow(),
                       bOpen ? QObject::tr("Open") : QObject::tr("Save As"), strInitial, strFilter);
    dialog.setAcceptMode(bOpen ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(bOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    QString strSuffix = strDefaultExt;
    if (strSuffix.startsWith(u'.'))
        strSuffix.remove(0, 1);
    dialog.setDefaultSuffix(strSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

FileDialogHandler SetFileDialogHandler(FileDialogHandler handler)
{
    FileDialogHandler previous = std::move(installedHandler());
    installedHandler() = std::move(handler);
    return previous;
}
