#include <QApplication>
#include <gtest/gtest.h>

// Widget tests need a QApplication for the whole run. They never need a display, also not
// when the test list is read at build time.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
