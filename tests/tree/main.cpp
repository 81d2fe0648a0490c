// GoogleTest main for the tree pane: a QApplication for the whole run, offscreen, and the
// item model checker's complaints turned into test failures.

#include <gtest/gtest.h>

#include <QApplication>
#include <QString>

namespace
{

QtMessageHandler g_previousHandler = nullptr;

void FailOnModelTesterWarning(QtMsgType type, const QMessageLogContext &context,
                              const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg && context.category != nullptr &&
        QString::fromLatin1(context.category) == QLatin1String("qt.modeltest"))
        ADD_FAILURE() << "model checker: " << message.toStdString();
    if (g_previousHandler != nullptr)
        g_previousHandler(type, context, message);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    g_previousHandler = qInstallMessageHandler(FailOnModelTesterWarning);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
