#include "MessageBox.h"

#include <QApplication>
#include <QMessageBox>
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
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
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
    QMessageBox box(QMessageBox::Warning, QApplication::applicationDisplayName(), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                    QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
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
