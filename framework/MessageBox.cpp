#include "MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <cstdio>

namespace
{
MessageBoxHandler &installedHandler()
{
    static MessageBoxHandler handler;
    return handler;
}

YesNoCancelHandler &installedYesNoCancelHandler()
{
    static YesNoCancelHandler handler;
    return handler;
}

bool HasGui()
{
    return qobject_cast<QApplication *>(QCoreApplication::instance()) != nullptr;
}

// The window a box is modal over: the active one, but never the splash picture, which closes
// and deletes itself on its timer while a box of the start-up may still be open.
QWidget *BoxParent()
{
    QWidget *pActive = QApplication::activeWindow();
    return pActive != nullptr && pActive->windowType() == Qt::SplashScreen ? nullptr : pActive;
}

// Runs a box made on the heap: should its window be deleted while it is open, the box goes with
// it, which a box on the stack would not survive. Returns the button, Cancel for a box that
// went.
int ExecBox(QMessageBox *pBox)
{
    const QPointer<QMessageBox> guard(pBox);
    const int nButton = pBox->exec();
    if (guard.isNull())
        return QMessageBox::Cancel;
    delete pBox;
    return nButton;
}
} // namespace

void AfxMessageBox(const QString &text)
{
    if (const MessageBoxHandler &handler = installedHandler()) {
        handler(text);
        return;
    }
    if (!HasGui()) {
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
        return;
    }
    ExecBox(new QMessageBox(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text,
                            QMessageBox::Ok, BoxParent()));
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler)
{
    MessageBoxHandler previous = std::move(installedHandler());
    installedHandler() = std::move(handler);
    return previous;
}

MessageBoxResult AfxMessageBoxYesNoCancel(const QString &text)
{
    if (const YesNoCancelHandler &handler = installedYesNoCancelHandler())
        return handler(text);
    if (!HasGui())
        return MessageBoxResult::Cancel;
    auto *pBox =
        new QMessageBox(QMessageBox::Warning, QApplication::applicationDisplayName(), text,
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, BoxParent());
    pBox->setDefaultButton(QMessageBox::Yes);
    pBox->setEscapeButton(QMessageBox::Cancel);
    switch (ExecBox(pBox)) {
    case QMessageBox::Yes:
        return MessageBoxResult::Yes;
    case QMessageBox::No:
        return MessageBoxResult::No;
    default:
        return MessageBoxResult::Cancel;
    }
}

YesNoCancelHandler SetYesNoCancelHandler(YesNoCancelHandler handler)
{
    YesNoCancelHandler previous = std::move(installedYesNoCancelHandler());
    installedYesNoCancelHandler() = std::move(handler);
    return previous;
}
