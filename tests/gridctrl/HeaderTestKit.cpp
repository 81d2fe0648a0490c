#include "HeaderTestKit.h"

#include <QDir>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace
{

constexpr int kShotScale = 3;

QWindow *WindowOf(QWidget *pWidget, QPoint &pt)
{
    QWidget *pTop = pWidget->window();
    pt = pWidget->mapTo(pTop, pt);
    return pTop->windowHandle();
}

} // namespace

void PressAt(QWidget *pWidget, QPoint pt)
{
    QWindow *pWindow = WindowOf(pWidget, pt);
    QTest::mousePress(pWindow, Qt::LeftButton, {}, pt);
}

void MoveTo(QWidget *pWidget, QPoint pt)
{
    QWindow *pWindow = WindowOf(pWidget, pt);
    QTest::mouseMove(pWindow, pt);
}

void ReleaseAt(QWidget *pWidget, QPoint pt)
{
    QWindow *pWindow = WindowOf(pWidget, pt);
    QTest::mouseRelease(pWindow, Qt::LeftButton, {}, pt);
}

void DoubleClickAt(QWidget *pWidget, QPoint pt)
{
    QWindow *pWindow = WindowOf(pWidget, pt);
    QTest::mouseDClick(pWindow, Qt::LeftButton, {}, pt);
}

void DragFromTo(QWidget *pWidget, QPoint ptFrom, QPoint ptVia, QPoint ptTo)
{
    PressAt(pWidget, ptFrom);
    MoveTo(pWidget, ptVia);
    MoveTo(pWidget, ptTo);
    ReleaseAt(pWidget, ptTo);
}

void SaveShot(const QImage &image, const char *pszName)
{
    const QString strDir = qEnvironmentVariable("PELLIX_SHOT_DIR");
    if (strDir.isEmpty())
        return;
    // Enlarged without smoothing, so single pixels of a mark can be made out.
    const QImage large =
        image.scaled(image.size() * kShotScale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    large.save(QDir(strDir).filePath(QString::fromLatin1(pszName) + QLatin1String(".png")));
}

QRect FindColour(const QImage &image, const QRect &area, QRgb rgb1, QRgb rgb2)
{
    QRect found;
    const QRect rc = area & image.rect();
    for (int y = rc.top(); y <= rc.bottom(); ++y) {
        for (int x = rc.left(); x <= rc.right(); ++x) {
            const QRgb rgb = image.pixel(x, y) | 0xFF000000u;
            if (rgb == (rgb1 | 0xFF000000u) || rgb == (rgb2 | 0xFF000000u))
                found |= QRect(x, y, 1, 1);
        }
    }
    return found;
}

int SpanInRow(const QImage &image, int y, int left, int right, QRgb rgb1, QRgb rgb2)
{
    return FindColour(image, QRect(QPoint(left, y), QPoint(right, y)), rgb1, rgb2).width();
}

QRect FindInk(const QImage &image, const QRect &area)
{
    QRect found;
    const QRect rc = area & image.rect();
    for (int y = rc.top(); y <= rc.bottom(); ++y) {
        for (int x = rc.left(); x <= rc.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 128)
                found |= QRect(x, y, 1, 1);
        }
    }
    return found;
}
