// A GoogleTest main with a QApplication for the whole run, for tests that need widgets, the
// wait cursor or the event loop. Runs offscreen unless a platform was chosen (also when the
// test list is read at build time), and turns the item model checker's complaints into test
// failures.

#include <gtest/gtest.h>

#include <QApplication>
#include <QString>

namespace
{

QtMessageHandler g_previousHandler = nullptr;

void failOnModelTesterWarning(QtMsgType type, const QMessageLogContext &context,
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
    g_previousHandler = qInstallMessageHandler(failOnModelTesterWarning);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
