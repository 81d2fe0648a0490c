#include "PaneWindow.h"

#include "PaneWiring.h"

#include <QApplication>
#include <QTest>

PaneWindow::PaneWindow(bool bTree, QSize size)
    : doc(std::make_unique<CPellixDoc>()), window(std::make_unique<QSplitter>())
{
    if (bTree)
        tree = new CPellixTreeView(doc.get(), window.get());
    auto *pRight = new QSplitter(Qt::Vertical, window.get());
    grid = new CPellixGridView(doc.get(), pRight);
    text = new CPellixView(doc.get(), pRight);
    context = WirePanes(doc.get(), window.get(), tree, grid, text);
    window->resize(size);
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning("the pane window was not exposed");
    QApplication::processEvents();
}

PaneWindow::~PaneWindow()
{
    window.reset();
}
