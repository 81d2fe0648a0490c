#include "Images.h"

#include <QPainter>
#include <QRect>
#include <QSvgRenderer>

void InitPellixResources()
{
    // A static library's resources are only linked in and registered when something
    // names their initialiser.
    static const bool registered = [] {
        Q_INIT_RESOURCE(res);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace
{

QSize DeviceSize(QSize size, qreal devicePixelRatio)
{
    return QSize(qRound(size.width() * devicePixelRatio), qRound(size.height() * devicePixelRatio));
}

QPixmap RenderSvg(const char *path, QSize size, qreal devicePixelRatio = 1.0)
{
    InitPellixResources();
    QSvgRenderer renderer(QString::fromLatin1(path));
    if (!renderer.isValid() || devicePixelRatio <= 0)
        return {};
    QPixmap pixmap(DeviceSize(size, devicePixelRatio));
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

// A row of equally sized images drawn in one picture.
struct StripDef {
    const char *path;
    QSize imageSize;
    int count;
};

constexpr StripDef kToolBarStrip{kToolBarStripPath, kToolBarImageSize, kToolBarImageCount};
constexpr StripDef kTreeStrip{kTreeStripPath, kTreeImageSize, kTreeImageCount};

QPixmap RenderStrip(const StripDef &strip, qreal devicePixelRatio)
{
    const QSize size(strip.imageSize.width() * strip.count, strip.imageSize.height());
    return RenderSvg(strip.path, size, devicePixelRatio);
}

QPixmap StripImage(const StripDef &strip, int index, qreal devicePixelRatio)
{
    if (index < 0 || index >= strip.count)
        return {};
    const QPixmap pixmap = RenderStrip(strip, devicePixelRatio);
    if (pixmap.isNull())
        return {};
    const qreal ratio = pixmap.devicePixelRatio();
    const int left = qRound(index * strip.imageSize.width() * ratio);
    QPixmap image = pixmap.copy(QRect(QPoint(left, 0), DeviceSize(strip.imageSize, ratio)));
    image.setDevicePixelRatio(ratio);
    return image;
}

QIcon StripIcon(const StripDef &strip, int index)
{
    QIcon icon;
    for (const qreal ratio : {1.0, 2.0, 3.0}) {
        const QPixmap pixmap = StripImage(strip, index, ratio);
        if (pixmap.isNull())
            return {};
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon RenderIcon(const char *path)
{
    QIcon icon;
    for (const int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QPixmap pixmap = RenderSvg(path, QSize(side, side));
        if (pixmap.isNull())
            return {};
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

QPixmap ToolBarStrip(qreal devicePixelRatio)
{
    return RenderStrip(kToolBarStrip, devicePixelRatio);
}

QPixmap ToolBarImage(int index, qreal devicePixelRatio)
{
    return StripImage(kToolBarStrip, index, devicePixelRatio);
}

QPixmap TreeStrip(qreal devicePixelRatio)
{
    return RenderStrip(kTreeStrip, devicePixelRatio);
}

QPixmap TreeImage(int index, qreal devicePixelRatio)
{
    return StripImage(kTreeStrip, index, devicePixelRatio);
}

QIcon ToolBarIcon(int index)
{
    return StripIcon(kToolBarStrip, index);
}

QIcon TreeIcon(int index)
{
    return StripIcon(kTreeStrip, index);
}

QPixmap SplashPicture(qreal devicePixelRatio)
{
    return RenderSvg(kSplashPath, kSplashSize, devicePixelRatio);
}

QIcon AppIcon()
{
    return RenderIcon(kAppIconPath);
}

QIcon DocIcon()
{
    return RenderIcon(kDocIconPath);
}

QCursor DragCursor()
{
    const QPixmap pixmap = RenderSvg(kDragCursorPath, QSize(32, 32));
    if (pixmap.isNull())
        return QCursor(Qt::DragMoveCursor);
    return QCursor(pixmap, 1, 1);
}
